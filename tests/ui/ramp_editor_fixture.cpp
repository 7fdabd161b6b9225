#include "tests/ui/ramp_editor_fixture.h"

namespace quorvel::testing {

void RampEditorTest::SetUp() {
    ModuleTest::SetUp();
    value = values.New();
    ASSERT_EQ(value.err, PF_Err_NONE);
    // The host keeps the value as the parameter's.
    host.handles().Keep(value.handle);
    PutArbitrary(host, kIndex, value.handle, reinterpret_cast<void*>(RAMP_ARB_REFCON));
    window.canvas().Clear(0, 0, 0);
}

void RampEditorTest::TearDown() {
    if (value.handle != nullptr) {
        host.faults().Clear();
        host.handles().LetGo(value.handle);
        EXPECT_EQ(values.Dispose(value.handle), PF_Err_NONE);
    }
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
