#pragma once

// Shared by the tests of the parameter set, its UI and the settings snapshot, which drive the
// module through the replacement host.
#include <cstdint>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "host/param_value.h"
#include "host/scene_parameters.h"
#include "ramp/ramp.h"
#include "tests/support/module_host.h"

namespace quorvel::testing {

using Points = std::vector<std::pair<float, float>>;

inline constexpr A_u_long kScale = 2400;

inline host::ParamValue Number(double number) {
    host::ParamValue value;
    value.number = number;
    return value;
}

// A ramp in its saved form, as the host saves it.
inline host::ParamValue Flat(int32_t mode, int32_t interpolation, const Points& points) {
    host::ParamValue value;
    value.flatRamp = host::FlattenRampSetting({mode, interpolation, points});
    return value;
}

inline const Ramp& RampIn(PF_ArbitraryH handle) {
    return *static_cast<const Ramp*>(*handle);
}

inline Points PointsOf(PF_ArbitraryH handle) {
    return Points(RampIn(handle).points->begin(), RampIn(handle).points->end());
}

// A host with the module loaded, registered and set up globally.
class ParamsModuleTest : public ModuleTest {
  protected:
    void SetUp() override {
        ModuleTest::SetUp();
        ASSERT_EQ(effect().Send(PF_Cmd_GLOBAL_SETUP).err, PF_Err_NONE);
    }

    host::Parameters& parameters() { return effect().parameters(); }

    host::CommandResult SendParamsSetup() {
        const host::CommandResult result = effect().Send(PF_Cmd_PARAMS_SETUP);
        EXPECT_LEDGER_BALANCED(host);
        return result;
    }

    // The input data a frame's snapshot checks parameters out with, at seconds.
    PF_InData FrameInData(double seconds) {
        PF_InData in = {};
        in.inter.checkout_param = &host::EffectInstance::CheckoutParam;
        in.inter.checkin_param = &host::EffectInstance::CheckinParam;
        in.effect_ref = &effect();
        in.current_time = static_cast<A_long>(seconds * kScale);
        in.time_step = 100;
        in.time_scale = kScale;
        return in;
    }
};

}  // namespace quorvel::testing
