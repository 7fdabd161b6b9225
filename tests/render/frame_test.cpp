// Frames through the module as the host loads it: SMART_PRE_RENDER then SMART_RENDER, with the
// host's worlds, suites, ledger and fault injection.
#include <EGL/egl.h>
#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include <glbinding/gl/gl.h>
#include <gtest/gtest.h>

#include "host/frame_driver.h"
#include "host/frame_suites.h"
#include "host/world.h"
#include "shell/param_index.h"
#include "tests/gl/gl_test_support.h"
#include "tests/support/egl_context.h"
#include "tests/support/module_host.h"

namespace {

using quorvel::host::Depth;
using quorvel::host::FrameResult;
using quorvel::host::PixelValue;
using quorvel::host::World;

constexpr Depth kDepths[] = {Depth::Bits8, Depth::Bits16, Depth::Float};

// Alphas above the output conversion's threshold of 0.01, and powers of two, so that float
// colours come back exactly from premultiplying and dividing again; floats above 1.
PixelValue PatternAt(Depth depth, A_long x, A_long y) {
    const float white = quorvel::host::WhiteOf(depth);
    const float alphas[] = {1.0f, 0.5f, 0.25f, 0.125f};
    PixelValue value = {std::round(white * alphas[(x + 2 * y) % 4] * 256) / 256, 0, 0, 0};
    for (int c = 1; c < 4; ++c) {
        const float share = ((x * 5 + y * 3 + c * 7) % 17) / 16.0f;
        value[c] = depth == Depth::Float ? share : std::round(white * share);
    }
    if (depth == Depth::Float) {
        value[1] = 2.5f;  // above 1
    }
    if (depth == Depth::Bits16 && x == 1) {
        value[2] = 32768;
    }
    return value;
}

void FillPattern(World& world) {
    for (A_long y = 0; y < world.Height(); ++y) {
        for (A_long x = 0; x < world.Width(); ++x) {
            world.SetPixel(x, y, PatternAt(world.PixelDepth(), x, y));
        }
    }
}

// Largest channel difference between the worlds' overlap (relative to the value above 1), with
// everything of b outside a expected transparent black.
float Difference(const World& a, const World& b) {
    float worst = 0;
    for (A_long y = 0; y < b.Height(); ++y) {
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

// 8-bit frames come back exactly and 16-bit ones within a unit. Float frames are exact where
// alpha is 1; elsewhere the output conversion's division by alpha costs the driver's division
// precision (llvmpipe divides through a reciprocal).
float Tolerance(Depth depth) {
    switch (depth) {
        case Depth::Bits8:
            return 0.0f;
        case Depth::Bits16:
            return 1.0f;
        case Depth::Float:
            break;
    }
    return 4e-5f;
}

// For each call of function in a frame's journal: whether the frame made it itself, rather than
// the host calling into the effect's ramp callbacks while parameters are checked in.
std::vector<bool> FramesOwnCalls(const std::vector<std::string>& journal,
                                 const std::string& function) {
    const auto first = std::find(journal.begin(), journal.end(), "checkin_param");
    const auto last = std::find(journal.rbegin(), journal.rend(), "checkin_param").base();
    std::vector<bool> own;
    for (auto it = journal.begin(); it != journal.end(); ++it) {
        if (*it == function) {
            own.push_back(it <= first || it >= last);
        }
    }
    return own;
}

class Frames : public quorvel::testing::ModuleTest {
protected:
    void SetUp() override {
        ModuleTest::SetUp();
        if (effect().Send(PF_Cmd_GLOBAL_SETUP).err != PF_Err_NONE) {
            GTEST_SKIP() << "no OpenGL context";
        }
        ASSERT_EQ(effect().Send(PF_Cmd_PARAMS_SETUP).err, PF_Err_NONE);
        ASSERT_EQ(effect().Send(PF_Cmd_SEQUENCE_SETUP).err, PF_Err_NONE);
        setUp_ = true;
    }
    void TearDown() override {
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

    void SetValue(PF_ParamIndex index, PF_ParamValue value) {
        PF_ParamDef def = effect().parameters().At(index);
        switch (def.param_type) {
            case PF_Param_POPUP:
                def.u.pd.value = value;
                break;
            case PF_Param_CHECKBOX:
                def.u.bd.value = value;
                break;
            default:
                def.u.sd.value = value;
                break;
        }
        ASSERT_TRUE(effect().parameters().Replace(index, def));
    }

    // A frame that gives back everything it took, on a thread whose OpenGL context is the
    // host's (none) again afterwards.
    FrameResult Render(World& input, World& output) {
        const EGLContext before = eglGetCurrentContext();
        const FrameResult result = quorvel::host::RenderFrame(effect(), input, output);
        EXPECT_EQ(eglGetCurrentContext(), before);
        EXPECT_EQ(result.inputCheckoutsLeft, 0);
        EXPECT_EQ(result.misuses, 0);
        EXPECT_LEDGER_BALANCED(host);
        return result;
    }

    // After a release the host refused (or only pretended to do): exactly one suite is still
    // acquired; gives it back.
    void ReleaseRefusedSuite() {
        const std::map<std::string, long> held = host.ledger().Outstanding();
        ASSERT_EQ(held.size(), 1u);
        const std::string item = held.begin()->first;
        ASSERT_EQ(held.begin()->second, 1);
        ASSERT_EQ(item.rfind("suite ", 0), 0u) << item;
        const size_t space = item.rfind(' ');
        const std::string name = item.substr(6, space - 6);
        const A_long version = std::stoi(item.substr(space + 1));
        EXPECT_EQ(host.suites().Release(name.c_str(), version), PF_Err_NONE);
    }

    bool setUp_ = false;
    // What a test leaves in the host on purpose.
    std::map<std::string, long> leftByDesign_;
};

TEST_F(Frames, WithoutAMeshTheInputPassesThroughInEveryDepth) {
    const A_long paddings[] = {0, 48, 5};
    for (Depth depth : kDepths) {
        for (A_long inPad : paddings) {
            for (A_long outPad : paddings) {
                for (int mode : {BackgroundMode_Normal, BackgroundMode_Blend, BackgroundMode_None}) {
                    SetValue(PARAM_BACKGROUND_BLEND_MODE, mode);
                    World input(depth, 23, 9, inPad);
                    World output(depth, 23, 9, outPad);
                    FillPattern(input);
                    output.Fill({7, 7, 7, 7});
                    output.FillPadding(0xC3);
                    ASSERT_EQ(Render(input, output).Err(), PF_Err_NONE);
                    EXPECT_TRUE(output.PaddingIs(0xC3));
                    if (mode == BackgroundMode_None) {
                        World black(depth, 0, 0);
                        EXPECT_EQ(Difference(black, output), 0.0f);
                    } else {
                        EXPECT_LE(Difference(input, output), Tolerance(depth))
                            << static_cast<int>(depth) << " mode " << mode << " pads " << inPad
                            << "/" << outPad;
                    }
                }
            }
        }
    }
}

TEST_F(Frames, SupersamplingOffGivesTheSameFrame) {
    SetValue(PARAM_MULTISAMPLE_ANTI_ALIASING, 0);
    for (Depth depth : kDepths) {
        World input(depth, 17, 31);
        World output(depth, 17, 31);
        FillPattern(input);
        ASSERT_EQ(Render(input, output).Err(), PF_Err_NONE);
        EXPECT_LE(Difference(input, output), Tolerance(depth));
    }
}

TEST_F(Frames, OutputsOfAnotherSizeGetTheOverlap) {
    for (Depth depth : kDepths) {
        World input(depth, 12, 10);
        FillPattern(input);
        for (const auto& size : {std::pair<A_long, A_long>{20, 14}, {6, 4}, {16, 3}}) {
            World output(depth, size.first, size.second, 8);
            output.Fill({9, 9, 9, 9});
            ASSERT_EQ(Render(input, output).Err(), PF_Err_NONE);
            EXPECT_LE(Difference(input, output), Tolerance(depth));
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
    SetValue(PARAM_MULTISAMPLE_ANTI_ALIASING, 0);
    EXPECT_EQ(Render(tall, tallOut).Err(), PF_Err_NONE);
    World tooTall(Depth::Float, 1, limit + 1);
    World tooTallOut(Depth::Float, 1, limit + 1);
    EXPECT_EQ(Render(tooTall, tooTallOut).Err(), PF_Err_OUT_OF_MEMORY);
}

TEST_F(Frames, CheckOutsWithoutAWorldAreErrors) {
    World input(Depth::Bits8, 4, 4);
    World output(Depth::Bits8, 4, 4);
    for (const char* function : {"checkout_layer_pixels", "checkout_output"}) {
        host.faults().NullCall(function, 1);
        EXPECT_EQ(Render(input, output).Err(), PF_Err_INTERNAL_STRUCT_DAMAGED) << function;
    }
}

// Each call of the frame that can report a failure fails once, and once reports success
// while handing out nothing. (The calls the host makes into the effect's ramp callbacks while
// it takes the parameters back are the host's own, not the frame's, and are left alone.) The host's context is current again and everything taken is
// given back, except what the host itself refused to take back: a suite whose release
// failed stays acquired, and the test releases it on the module's behalf. (A failing
// parameter check-in is the other such case; it has a test of its own.)
TEST_F(Frames, EveryHostCallOfAFrameMadeToFailOnce) {
    SetValue(PARAM_PREVIEW_WIREFRAME_MESH, 1);
    const char* const functions[] = {
        "checkout_param",    "checkout_layer",   "checkout_layer_pixels", "checkout_output",
        "checkin_layer_pixels", "AcquireSuite",  "ReleaseSuite",          "PF_GetPixelFormat",
        "get_pixel_data8",   "get_pixel_data16", "get_pixel_data_float",  "iterate",
        "host_new_handle",   "host_lock_handle", "abort",                 "PF_AppGetBgColor",
        "PF_AppGetColor",    "sprintf",
    };
    for (Depth depth : kDepths) {
        World input(depth, 8, 6, 16);
        World output(depth, 8, 6);
        FillPattern(input);
        for (const char* function : functions) {
            host.faults().StartJournal();
            ASSERT_EQ(Render(input, output).Err(), PF_Err_NONE);
            const std::vector<bool> own = FramesOwnCalls(host.faults().Journal(), function);
            const long calls = static_cast<long>(own.size());
            for (long nth = 1; nth <= calls; ++nth) {
                if (!own[nth - 1]) {
                    continue;
                }
                for (const bool giveNull : {false, true}) {
                    SCOPED_TRACE(std::string(function) + " call " + std::to_string(nth) +
                                 (giveNull ? " gives nothing" : " fails"));
                    if (giveNull) {
                        host.faults().NullCall(function, static_cast<int>(nth));
                    } else {
                        host.faults().FailCall(function, static_cast<int>(nth), 1234);
                    }
                    const EGLContext context = eglGetCurrentContext();
                    const FrameResult result =
                        quorvel::host::RenderFrame(effect(), input, output);
                    host.faults().Clear();
                    EXPECT_EQ(eglGetCurrentContext(), context);
                    EXPECT_EQ(result.inputCheckoutsLeft, 0);
                    EXPECT_EQ(result.misuses, 0);
                    // A release's answer is ignored everywhere, and the 8-bit probe of a
                    // float world only says "not 8-bit".
                    const std::string name = function;
                    const bool reported = name != "ReleaseSuite" &&
                                          !(name == "get_pixel_data8" && depth == Depth::Float);
                    if (!giveNull && reported) {
                        EXPECT_NE(result.Err(), PF_Err_NONE);
                    }
                    if (name == "ReleaseSuite") {
                        ReleaseRefusedSuite();
                    }
                    EXPECT_LEDGER_BALANCED(host);
                }
            }
            // The frame after the failures is whole again.
            ASSERT_EQ(Render(input, output).Err(), PF_Err_NONE) << function;
            EXPECT_LE(Difference(input, output), Tolerance(depth)) << function;
        }
    }
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

TEST_F(Frames, FourThreadsRenderTheSameFramesAsOne) {
    for (Depth depth : kDepths) {
        std::vector<std::unique_ptr<World>> inputs;
        std::vector<std::unique_ptr<World>> single;
        std::vector<std::unique_ptr<World>> parallel;
        std::vector<quorvel::host::FrameWorlds> frames;
        // One layer size, as the host renders one layer; each frame its own pixels.
        for (int i = 0; i < 4; ++i) {
            inputs.push_back(std::make_unique<World>(depth, 40, 30, 4 * i));
            FillPattern(*inputs.back());
            inputs.back()->SetPixel(i, i, {quorvel::host::WhiteOf(depth), 0, 0, 0});
            single.push_back(std::make_unique<World>(depth, 40, 30));
            parallel.push_back(std::make_unique<World>(depth, 40, 30));
            ASSERT_EQ(Render(*inputs[i], *single[i]).Err(), PF_Err_NONE);
            frames.push_back({inputs[i].get(), parallel[i].get()});
        }
        for (const FrameResult& result : quorvel::host::RenderFramesAtOnce(effect(), frames)) {
            EXPECT_EQ(result.Err(), PF_Err_NONE);
        }
        EXPECT_LEDGER_BALANCED(host);
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(Difference(*single[i], *parallel[i]), 0.0f) << i;
        }
    }
}

// A second identical frame on the same thread reuses every object of the first: it makes
// only the input texture, and deletes it again.
TEST_F(Frames, ASecondFrameMakesOnlyItsInputTexture) {
    for (Depth depth : kDepths) {
        World input(depth, 64, 48);
        World output(depth, 64, 48);
        FillPattern(input);
        ASSERT_EQ(Render(input, output).Err(), PF_Err_NONE);
        // The module and the test share the one glbinding library, so the counter sees the
        // module's calls.
        const gl_test::GLCallCounter calls;
        ASSERT_EQ(Render(input, output).Err(), PF_Err_NONE);
        EXPECT_EQ(calls.Creations(), 1);
        EXPECT_EQ(calls.Count("glGenTextures"), 1);
        EXPECT_EQ(calls.Deletions(), 1);
        EXPECT_EQ(calls.Count("glDeleteTextures"), 1);
    }
}

TEST_F(Frames, ASmartRenderWithoutItsCallbacksIsRefused) {
    EXPECT_EQ(effect().Send(PF_Cmd_SMART_RENDER).err, PF_Err_BAD_CALLBACK_PARAM);
    PF_SmartRenderExtra extra = {};
    EXPECT_EQ(effect().Send(PF_Cmd_SMART_RENDER, &extra).err, PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_LEDGER_BALANCED(host);
}

TEST_F(Frames, AUserCancelIsTheFramesResult) {
    World input(Depth::Bits8, 4, 4);
    World output(Depth::Bits8, 4, 4);
    host.faults().FailCall("abort", 1, PF_Interrupt_CANCEL);
    EXPECT_EQ(Render(input, output).Err(), PF_Interrupt_CANCEL);
}

// Without GLOBAL_SETUP's start-up context there is no context to share with: the frame is
// refused instead of rendering on a context of the wrong kind, and gives everything back.
TEST(FramesWithoutSetup, AreRefused) {
    quorvel::host::Host host(QUORVEL_MODULE_PATH);
    ASSERT_EQ(host.Register(), PF_Err_NONE);
    ASSERT_EQ(host.effect().Send(PF_Cmd_PARAMS_SETUP).err, PF_Err_NONE);
    World input(Depth::Bits8, 4, 4);
    World output(Depth::Bits8, 4, 4);
    const EGLContext before = eglGetCurrentContext();
    EXPECT_EQ(quorvel::host::RenderFrame(host.effect(), input, output).Err(), PF_Err_OUT_OF_MEMORY);
    EXPECT_EQ(eglGetCurrentContext(), before);
    EXPECT_LEDGER_BALANCED(host);
}

}  // namespace
