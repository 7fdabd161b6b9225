// Frames without a mesh through the module as the host loads it: the input through the
// conversions, sizes, check-outs, the parameter check-in walk, refusals and the user's cancel.
#include <map>
#include <string>
#include <utility>

#include <glbinding/gl/gl.h>
#include <gtest/gtest.h>

#include "shell/params/param_index.h"
#include "tests/render/frame_fixture.h"
#include "tests/support/egl_context.h"

namespace {

using quorvel::host::Depth;
using quorvel::host::World;
using quorvel::testing::Difference;
using quorvel::testing::FillPattern;
using quorvel::testing::kDepths;
using quorvel::testing::Tolerance;

using Frames = quorvel::testing::FrameTest;

// Padded rows (none, whole pixels, not a whole pixel), outputs of the same or another size
// (they get the overlap), with and without supersampling (without it the resolve is a plain
// copy); Background None draws nothing at all.
TEST_F(Frames, WithoutAMeshTheInputPassesThroughInEveryDepthAndSize) {
    const A_long paddings[] = {0, 48, 5};
    const std::pair<A_long, A_long> sizes[] = {{23, 9}, {30, 14}, {6, 4}, {16, 3}};
    for (Depth depth : kDepths) {
        for (int i = 0; i < 3; ++i) {
            Set("Multisample Anti-aliasing", i % 2);
            World input(depth, 23, 9, paddings[i]);
            FillPattern(input);
            for (int mode : {BackgroundMode_Normal, BackgroundMode_Blend, BackgroundMode_None}) {
                Set("Background Blend Mode", mode);
                for (const auto& [width, height] : sizes) {
                    World output(depth, width, height, paddings[(i + width) % 3]);
                    output.Fill({7, 7, 7, 7});
                    output.FillPadding(0xC3);
                    ASSERT_EQ(Render(input, output).Err(), PF_Err_NONE);
                    EXPECT_TRUE(output.PaddingIs(0xC3));
                    const World black(depth, 0, 0);
                    EXPECT_LE(Difference(mode == BackgroundMode_None ? black : input, output),
                              mode == BackgroundMode_None ? 0.0f : Tolerance(depth))
                        << static_cast<int>(depth) << " mode " << mode << " pad " << paddings[i]
                        << " width " << width;
                }
            }
        }
    }
}

TEST_F(Frames, FramesTheGpuCannotHoldEndWithAnErrorCode) {
    // A side of 65536 or more never reaches OpenGL; with supersampling the doubled main texture
    // must fit the driver's limit as well.
    World wide(Depth::Bits8, 65536, 1);
    World wideOut(Depth::Bits8, 65536, 1);
    EXPECT_EQ(Render(wide, wideOut).Err(), PF_Err_OUT_OF_MEMORY);

    gl::GLint limit = 0;
    {
        EglTestContext context;
        ASSERT_TRUE(context.Valid());
        gl::glGetIntegerv(gl::GL_MAX_TEXTURE_SIZE, &limit);
    }
    World tall(Depth::Float, 1, limit / 2 + 1);
    World tallOut(Depth::Float, 1, limit / 2 + 1);
    EXPECT_EQ(Render(tall, tallOut).Err(), PF_Err_OUT_OF_MEMORY);
    Set("Multisample Anti-aliasing", 0);
    EXPECT_EQ(Render(tall, tallOut).Err(), PF_Err_NONE);
    World tooTall(Depth::Float, 1, limit + 1);
    World tooTallOut(Depth::Float, 1, limit + 1);
    EXPECT_EQ(Render(tooTall, tooTallOut).Err(), PF_Err_OUT_OF_MEMORY);
}

// Check-outs that give no world, a SMART_RENDER without its callbacks and a user's cancel:
// each is the frame's result.
TEST_F(Frames, RefusedCheckOutsAndCallsAndACancelAreTheFramesResult) {
    World input(Depth::Bits8, 4, 4);
    World output(Depth::Bits8, 4, 4);
    for (const char* function : {"checkout_layer_pixels", "checkout_output"}) {
        host.faults().NullCall(function, 1);
        EXPECT_EQ(Render(input, output).Err(), PF_Err_INTERNAL_STRUCT_DAMAGED) << function;
    }
    EXPECT_EQ(effect().Send(PF_Cmd_SMART_RENDER).err, PF_Err_BAD_CALLBACK_PARAM);
    PF_SmartRenderExtra extra = {};
    EXPECT_EQ(effect().Send(PF_Cmd_SMART_RENDER, &extra).err, PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_LEDGER_BALANCED(host);
    host.faults().FailCall("abort", 1, PF_Interrupt_CANCEL);
    EXPECT_EQ(Render(input, output).Err(), PF_Interrupt_CANCEL);
}

// A failing check-in ends the snapshot's check-in walk by design: the failing parameter and
// every one after it stay checked out, and nothing else is left behind.
TEST_F(Frames, AFailingParameterCheckInEndsTheWalk) {
    World input(Depth::Bits8, 4, 4);
    World output(Depth::Bits8, 4, 4);
    for (int nth : {1, 30, 57}) {
        const std::map<std::string, long> before = host.ledger().Outstanding();
        host.faults().FailCall("checkin_param", nth, 1234);
        EXPECT_EQ(quorvel::host::RenderFrame(effect(), input, output).Err(), 1234);
        host.faults().Clear();
        long left = 0;
        for (const auto& [item, count] : host.ledger().Outstanding()) {
            const auto was = before.find(item);
            const long added = count - (was == before.end() ? 0 : was->second);
            EXPECT_TRUE(added == 0 || item.rfind("check-out of parameter ", 0) == 0) << item;
            left += added;
        }
        EXPECT_EQ(left, 57 - nth + 1) << nth;
        EXPECT_TRUE(host.ledger().Misuses().empty());
    }
    leftByDesign_ = host.ledger().Outstanding();
}

// Without GLOBAL_SETUP's start-up context there is no context to share with: the frame is
// refused instead of rendering on a context of the wrong kind, and gives everything back.
TEST(FramesWithoutSetup, AreRefused) {
    quorvel::host::Host host(QUORVEL_MODULE_PATH);
    ASSERT_EQ(host.Register(), PF_Err_NONE);
    ASSERT_EQ(host.effect().Send(PF_Cmd_PARAMS_SETUP).err, PF_Err_NONE);
    World input(Depth::Bits8, 4, 4);
    World output(Depth::Bits8, 4, 4);
    const void* before = CurrentSystemContext();
    EXPECT_EQ(quorvel::host::RenderFrame(host.effect(), input, output).Err(), PF_Err_OUT_OF_MEMORY);
    EXPECT_EQ(CurrentSystemContext(), before);
    EXPECT_LEDGER_BALANCED(host);
}

}  // namespace
