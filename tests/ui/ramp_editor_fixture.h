#pragma once

#include <initializer_list>
#include <utility>
#include <vector>

#include "host/ui_events.h"
#include "ramp/ramp.h"
#include "shell/params/param_index.h"
#include "tests/support/module_params.h"

namespace quorvel::testing {

// The effect's parameters as PARAMS_SETUP made them, with the ramp parameter "Quorvel Ramp"
// shown in an effect controls window. Its control frame gives a 128 x 128 plot at (26, 36), so that
// plot positions and the 10-pixel tolerances are exact in single precision.
class RampEditorTest : public ParamsModuleTest {
  protected:
    static constexpr PF_ParamIndex kIndex = PARAM_QUORVEL_RAMP;
    static constexpr int kLeft = 26;  // the plot's origin and size
    static constexpr int kTop = 36;
    static constexpr int kSize = 128;

    void SetUp() override;
    // The host gives the ramps back through the effect when it ends: no fault may stand then.
    void TearDown() override { host.faults().Clear(); }

    // The curve in the parameter's value handle, read and written in place.
    Ramp& ramp() { return *static_cast<Ramp*>(*parameters().At(kIndex).u.arb_d.value); }
    void SetRamp(int32_t mode, int32_t interpolation,
                 std::initializer_list<std::pair<const float, float>> points);
    std::vector<std::pair<float, float>> Points();

    // The pixel of plot position (t, value).
    static PF_Point PixelOf(float t, float value) {
        return PF_Point{kLeft + static_cast<A_long>(t * kSize),
                        kTop + static_cast<A_long>((1.0f - value) * kSize)};
    }

    host::UiEvent Click(PF_Point point, A_long clicks = 1, PF_Modifiers modifiers = PF_Mod_NONE);
    host::UiEvent Draw(PF_EffectArea area = PF_EA_CONTROL);
    // Whether the module marked the parameter changed (the word holds its saved id otherwise).
    static bool Changed(const host::UiEvent& event) {
        return event.command.params[kIndex].uu.change_flags == PF_ChangeFlag_CHANGED_VALUE;
    }

    host::UiWindow window{PF_Window_EFFECT, 200, 200};
    host::EffectControl control = {kIndex, PF_Rect{20, 30, 160, 170}};
    host::UiEvents events{effect(), window};
};

}  // namespace quorvel::testing
