#include "tests/render/frame_fixture.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "host/suites/path_suites.h"
#include "tests/support/egl_context.h"

namespace quorvel::testing {

using host::Depth;
using host::PixelValue;
using host::World;

void FillPattern(World& world) {
    const Depth depth = world.PixelDepth();
    const float white = host::WhiteOf(depth);
    const float alphas[] = {1.0f, 0.5f, 0.25f, 0.125f};
    for (A_long y = 0; y < world.Height(); ++y) {
        for (A_long x = 0; x < world.Width(); ++x) {
            PixelValue value = {std::round(white * alphas[(x + 2 * y) % 4] * 256) / 256, 0, 0, 0};
            for (int c = 1; c < 4; ++c) {
                const float share = ((x * 5 + y * 3 + c * 7) % 17) / 16.0f;
                value[c] = depth == Depth::Float ? share : std::round(white * share);
            }
            value[1] = depth == Depth::Float ? 2.5f : value[1];
            value[2] = depth == Depth::Bits16 && x == 1 ? 32768 : value[2];
            world.SetPixel(x, y, value);
        }
    }
}

float Difference(const World& a, const World& b, A_long firstRow, A_long endRow) {
    float worst = 0;
    for (A_long y = firstRow; y < (endRow < 0 ? b.Height() : endRow); ++y) {
        for (A_long x = 0; x < b.Width(); ++x) {
            const bool inside = x < a.Width() && y < a.Height();
            const PixelValue expected = inside ? a.Pixel(x, y) : PixelValue{0, 0, 0, 0};
            const PixelValue actual = b.Pixel(x, y);
            for (int c = 0; c < 4; ++c) {
                const float scale = std::max(1.0f, std::fabs(expected[c]));
                worst = std::max(worst, std::fabs(expected[c] - actual[c]) / scale);
            }
        }
    }
    return worst;
}

float Tolerance(Depth depth) {
    return depth == Depth::Bits8 ? 0.0f : depth == Depth::Bits16 ? 1.0f : 4e-5f;
}

host::MaskPath StraightMask(const char* name, double x0, double y0, double x1, double y1) {
    const double dx = (x1 - x0) / 3;
    const double dy = (y1 - y0) / 3;
    host::MaskShape shape;
    shape.closed = false;
    shape.vertices = {host::MaskVertex{{x0, y0}, {0, 0}, {dx, dy}},
                      host::MaskVertex{{x1, y1}, {-dx, -dy}, {0, 0}}};
    host::MaskPath path;
    path.name = name;
    path.keyframes = {host::MaskKeyframe{0.0, shape}};
    return path;
}

void FrameTest::SetUp() {
    ModuleTest::SetUp();
    if (effect().Send(PF_Cmd_GLOBAL_SETUP).err != PF_Err_NONE) {
        GTEST_SKIP() << "no OpenGL context";
    }
    ASSERT_EQ(effect().Send(PF_Cmd_PARAMS_SETUP).err, PF_Err_NONE);
    ASSERT_EQ(effect().Send(PF_Cmd_SEQUENCE_SETUP).err, PF_Err_NONE);
    setUp_ = true;
}

void FrameTest::TearDown() {
    if (setUp_) {
        EXPECT_EQ(effect().Send(PF_Cmd_SEQUENCE_SETDOWN).err, PF_Err_NONE);
        EXPECT_EQ(effect().Send(PF_Cmd_GLOBAL_SETDOWN).err, PF_Err_NONE);
    }
    if (leftByDesign_.empty()) {
        EXPECT_LEDGER_BALANCED(host);
    } else {
        EXPECT_EQ(host.ledger().Outstanding(), leftByDesign_);
        EXPECT_TRUE(host.ledger().Misuses().empty());
    }
}

void FrameTest::SetValue(const char* displayName, const host::ParamValue& value) {
    host::Parameters& parameters = effect().parameters();
    const PF_ParamIndex index = parameters.Find(displayName);
    ASSERT_GE(index, 0) << displayName;
    ASSERT_EQ(parameters.SetValue(index, value), PF_Err_NONE) << displayName;
}

void FrameTest::SetMasks(const host::MaskPath& first, const host::MaskPath& second) {
    const std::vector<PF_PathID> ids = host::SetLayerMasks(host, {first, second});
    ASSERT_EQ(ids.size(), 2u);
    host::ChoosePath(effect(), effect().parameters().Find("Mask 1"), ids[0]);
    host::ChoosePath(effect(), effect().parameters().Find("Mask 2"), ids[1]);
}

void FrameTest::SetSeconds(double seconds) {
    host::InstanceSettings settings = effect().Settings();
    settings.currentTime = static_cast<A_long>(std::lround(seconds * settings.timeScale));
    effect().SetSettings(settings);
}

host::FrameResult FrameTest::Render(World& input, World& output, bool balanced) {
    const void* before = CurrentSystemContext();
    const host::FrameResult result = host::RenderFrame(effect(), input, output);
    EXPECT_EQ(CurrentSystemContext(), before);
    EXPECT_EQ(result.inputCheckoutsLeft, 0);
    EXPECT_EQ(result.misuses, 0);
    if (balanced) {
        EXPECT_LEDGER_BALANCED(host);
    }
    return result;
}

}  // namespace quorvel::testing
