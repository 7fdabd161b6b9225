#include "tests/ui/ramp_editor_fixture.h"

namespace quorvel::testing {

void RampEditorTest::SetUp() {
    ParamsModuleTest::SetUp();
    SendParamsSetup();
    window.canvas().Clear(0, 0, 0);
}

void RampEditorTest::SetRamp(int32_t mode, int32_t interpolation,
                             std::initializer_list<std::pair<const float, float>> points) {
    ramp().mode = mode;
    ramp().interpolation = interpolation;
    ramp().points->clear();
    ramp().points->insert(points);
}

std::vector<std::pair<float, float>> RampEditorTest::Points() {
    return std::vector<std::pair<float, float>>(ramp().points->begin(), ramp().points->end());
}

host::UiEvent RampEditorTest::Click(PF_Point point, A_long clicks, PF_Modifiers modifiers) {
    return events.Click(point, clicks, modifiers, &control);
}

host::UiEvent RampEditorTest::Draw(PF_EffectArea area) {
    host::EffectControl drawn = control;
    drawn.area = area;
    return events.Draw(&drawn);
}

}  // namespace quorvel::testing
