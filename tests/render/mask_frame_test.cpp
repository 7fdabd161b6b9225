// Frames with masks through the module as the host loads it: the mesh between two masks is
// drawn, a mask that names no path gives the plain frame, and every path call of the frame
// made to fail once ends that frame with the host's code and leaves nothing behind.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host/frame_driver.h"
#include "host/suites/path_suites.h"
#include "host/world.h"
#include "shell/param_index.h"
#include "tests/support/egl_context.h"
#include "tests/support/module_host.h"

namespace {

using quorvel::host::Depth;
using quorvel::host::FrameResult;
using quorvel::host::MaskKeyframe;
using quorvel::host::MaskPath;
using quorvel::host::MaskShape;
using quorvel::host::MaskVertex;
using quorvel::host::World;

MaskPath Line(const char* name, double y) {
    MaskShape shape;
    shape.closed = false;
    shape.vertices = {MaskVertex{{-4, y}, {0, 0}, {20, 0}}, MaskVertex{{36, y}, {-20, 0}, {0, 0}}};
    MaskPath path;
    path.name = name;
    path.keyframes = {MaskKeyframe{0.0, shape}};
    return path;
}

class MaskFrames : public quorvel::testing::ModuleTest {
  protected:
    void SetUp() override {
        ModuleTest::SetUp();
        if (effect().Send(PF_Cmd_GLOBAL_SETUP).err != PF_Err_NONE) {
            GTEST_SKIP() << "no OpenGL context";
        }
        ASSERT_EQ(effect().Send(PF_Cmd_PARAMS_SETUP).err, PF_Err_NONE);
        ASSERT_EQ(effect().Send(PF_Cmd_SEQUENCE_SETUP).err, PF_Err_NONE);
        const std::vector<PF_PathID> ids =
            quorvel::host::SetLayerMasks(host, {Line("Top", 4), Line("Bottom", 20)});
        quorvel::host::ChoosePath(effect(), PARAM_MASK_1, ids[0]);
        quorvel::host::ChoosePath(effect(), PARAM_MASK_2, ids[1]);
        setUp_ = true;
    }
    void TearDown() override {
        if (setUp_) {
            EXPECT_EQ(effect().Send(PF_Cmd_SEQUENCE_SETDOWN).err, PF_Err_NONE);
            EXPECT_EQ(effect().Send(PF_Cmd_GLOBAL_SETDOWN).err, PF_Err_NONE);
        }
        EXPECT_LEDGER_BALANCED(host);
    }

    FrameResult Render(World& input, World& output) {
        const void* before = CurrentSystemContext();
        const FrameResult result = quorvel::host::RenderFrame(effect(), input, output);
        EXPECT_EQ(CurrentSystemContext(), before);
        EXPECT_EQ(result.inputCheckoutsLeft, 0);
        EXPECT_EQ(result.misuses, 0);
        EXPECT_LEDGER_BALANCED(host);
        return result;
    }

    bool setUp_ = false;
};

// The number of pixels whose alpha differs between two frames.
int Differing(const World& a, const World& b) {
    int count = 0;
    for (A_long y = 0; y < a.Height(); ++y) {
        for (A_long x = 0; x < a.Width(); ++x) {
            count += a.Pixel(x, y)[0] != b.Pixel(x, y)[0] ? 1 : 0;
        }
    }
    return count;
}

TEST_F(MaskFrames, TheMeshIsDrawnBetweenTheMasksAndANamelessMaskDrawsNone) {
    World input(Depth::Float, 32, 24);
    input.Fill({1, 0.5f, 0.25f, 0.75f});
    World withMesh(Depth::Float, 32, 24);
    World plain(Depth::Float, 32, 24);
    PF_ParamDef mode = effect().parameters().At(PARAM_BACKGROUND_BLEND_MODE);
    mode.u.pd.value = BackgroundMode_None;
    ASSERT_TRUE(effect().parameters().Replace(PARAM_BACKGROUND_BLEND_MODE, mode));
    // Without shaping each vertex samples the layer where it lies.
    PF_ParamDef factor = effect().parameters().At(PARAM_QUORVEL_FACTOR);
    factor.u.fs_d.value = 0.0;
    ASSERT_TRUE(effect().parameters().Replace(PARAM_QUORVEL_FACTOR, factor));
    ASSERT_EQ(Render(input, withMesh).Err(), PF_Err_NONE);
    // Only the band between the masks is drawn over transparent black.
    EXPECT_EQ(withMesh.Pixel(16, 1)[0], 0.0f);
    EXPECT_GT(withMesh.Pixel(16, 12)[0], 0.0f);
    EXPECT_EQ(withMesh.Pixel(16, 23)[0], 0.0f);
    quorvel::host::ChoosePath(effect(), PARAM_MASK_2, 0);
    ASSERT_EQ(Render(input, plain).Err(), PF_Err_NONE);
    EXPECT_EQ(plain.Pixel(16, 12)[0], 0.0f);
    EXPECT_GT(Differing(withMesh, plain), 0);
}

TEST_F(MaskFrames, EveryPathCallMadeToFailOnceEndsTheFrameAndLeavesNothingBehind) {
    World input(Depth::Bits8, 32, 24);
    input.Fill({255, 10, 20, 30});
    World output(Depth::Bits8, 32, 24);
    World reference(Depth::Bits8, 32, 24);
    ASSERT_EQ(Render(input, reference).Err(), PF_Err_NONE);
    const char* const functions[] = {"PF_CheckoutPath",         "PF_PathNumSegments",
                                     "PF_PathPrepareSegLength", "PF_PathGetSegLength",
                                     "PF_PathCleanupSegLength", "PF_PathIsOpen",
                                     "PF_PathEvalSegLength",    "PF_CheckinPath"};
    for (const char* function : functions) {
        const long before = host.faults().Calls(function);
        ASSERT_EQ(Render(input, output).Err(), PF_Err_NONE);
        const long calls = host.faults().Calls(function) - before;
        ASSERT_GT(calls, 0) << function;
        for (long nth = 1; nth <= calls; ++nth) {
            SCOPED_TRACE(std::string(function) + " call " + std::to_string(nth));
            host.faults().FailCall(function, static_cast<int>(nth), 1234);
            const FrameResult result = Render(input, output);
            host.faults().Clear();
            // A refused check-in is tried again, and its answer is not the frame's.
            if (std::string(function) != "PF_CheckinPath") {
                EXPECT_NE(result.Err(), PF_Err_NONE);
            }
        }
        ASSERT_EQ(Render(input, output).Err(), PF_Err_NONE);
        EXPECT_EQ(Differing(reference, output), 0) << function;
    }
}

}  // namespace
