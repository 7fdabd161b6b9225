// Frames through the module as the host loads it. Without a mesh: the input through the
// conversions, sizes, check-outs, the parameter check-in walk, refusals and the user's cancel.
// With a mesh between two masks: the band maps the layer onto itself without shaping,
// supersampling averages 2 x 2 blocks, the wireframe takes the host's colours strip by strip,
// the animation window slides with time; every host call of the frame may fail once, noise
// settings at the float maximum give finite pixels, and four threads render what one renders.
#include <algorithm>
#include <cfloat>
#include <cmath>
#include <deque>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <glbinding/gl/gl.h>
#include <gtest/gtest.h>

#include "host/interface_colours.h"
#include "host/suites/path_suites.h"
#include "ramp/ramp.h"
#include "shell/params/param_index.h"
#include "tests/render/frame_fixture.h"
#include "tests/support/egl_context.h"

namespace {

using namespace quorvel::host;
using namespace quorvel::testing;

using Frames = FrameTest;

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
    const auto result = [&](Depth depth, A_long width, A_long height) {
        World input(depth, width, height);
        World output(depth, width, height);
        return Render(input, output).Err();
    };
    EXPECT_EQ(result(Depth::Bits8, 65536, 1), PF_Err_OUT_OF_MEMORY);
    gl::GLint limit = 0;
    {
        EglTestContext context;
        ASSERT_TRUE(context.Valid());
        gl::glGetIntegerv(gl::GL_MAX_TEXTURE_SIZE, &limit);
    }
    EXPECT_EQ(result(Depth::Float, 1, limit / 2 + 1), PF_Err_OUT_OF_MEMORY);
    Set("Multisample Anti-aliasing", 0);
    EXPECT_EQ(result(Depth::Float, 1, limit / 2 + 1), PF_Err_NONE);
    EXPECT_EQ(result(Depth::Float, 1, limit + 1), PF_Err_OUT_OF_MEMORY);
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
        EXPECT_EQ(Render(input, output, false).Err(), 1234);
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
using FramesWithoutSetup = ModuleTest;
TEST_F(FramesWithoutSetup, AreRefused) {
    ASSERT_EQ(effect().Send(PF_Cmd_PARAMS_SETUP).err, PF_Err_NONE);
    World input(Depth::Bits8, 4, 4);
    World output(Depth::Bits8, 4, 4);
    const void* before = CurrentSystemContext();
    EXPECT_EQ(RenderFrame(effect(), input, output).Err(), PF_Err_OUT_OF_MEMORY);
    EXPECT_EQ(CurrentSystemContext(), before);
    EXPECT_LEDGER_BALANCED(host);
}

class MeshFrames : public FrameTest {
  protected:
    // A horizontal band from row top to row bottom across the whole width (and beyond it).
    void SetBand(double top, double bottom, double left = -4, double right = 36) {
        SetMasks(StraightMask("Top", left, top, right, top),
                 StraightMask("Bottom", left, bottom, right, bottom));
    }
};

bool RowsAreTransparentBlack(const World& world, A_long firstRow, A_long endRow) {
    return Difference(World(world.PixelDepth(), 0, 0), world, firstRow, endRow) == 0.0f;
}

// Without shaping, noise or animation every vertex takes the layer's texture coordinate where
// it lies: inside the band the layer comes back as it went in, outside it (Background None)
// the frame is transparent black, and with Background Normal the whole frame is the layer.
TEST_F(MeshFrames, TheBandMapsTheLayerOntoItselfWithoutShaping) {
    SetBand(4, 20);
    Set("Quorvel Factor", 0);
    Set("Texture Filter", TextureFilter_Nearest);
    for (Depth depth : kDepths) {
        for (int supersample : {1, 0}) {
            Set("Multisample Anti-aliasing", supersample);
            World input(depth, 32, 24);
            FillPattern(input);
            World output(depth, 32, 24);
            Set("Background Blend Mode", BackgroundMode_None);
            ASSERT_EQ(Render(input, output).Err(), PF_Err_NONE);
            EXPECT_LE(Difference(input, output, 5, 19), Tolerance(depth))
                << static_cast<int>(depth) << " supersample " << supersample;
            EXPECT_TRUE(RowsAreTransparentBlack(output, 0, 3));
            EXPECT_TRUE(RowsAreTransparentBlack(output, 22, 24));
            Set("Background Blend Mode", BackgroundMode_Normal);
            ASSERT_EQ(Render(input, output).Err(), PF_Err_NONE);
            EXPECT_LE(Difference(input, output, 0, 24), Tolerance(depth));
        }
    }
    // Blend lays the mesh over the layer as premultiplied colour: at half opacity it keeps
    // every colour and takes alpha a to a (1.5 - 0.5 a).
    SetRamp("Opacity Across Ramp", RampInterpolation_Line, {{0.0f, 0.5f}, {1.0f, 0.5f}});
    Set("Background Blend Mode", BackgroundMode_Blend);
    World input(Depth::Float, 32, 24);
    FillPattern(input);
    World expected(Depth::Float, 32, 24);
    for (A_long y = 0; y < 24; ++y) {
        for (A_long x = 0; x < 32; ++x) {
            PixelValue pixel = input.Pixel(x, y);
            pixel[0] *= 1.5f - 0.5f * pixel[0];
            expected.SetPixel(x, y, pixel);
        }
    }
    World output(Depth::Float, 32, 24);
    ASSERT_EQ(Render(input, output).Err(), PF_Err_NONE);
    EXPECT_LE(Difference(expected, output, 5, 19), Tolerance(Depth::Float));
    // A mask that names no path gives no mesh: with Background None nothing is drawn.
    ChoosePath(effect(), effect().parameters().Find("Mask 2"), 0);
    Set("Background Blend Mode", BackgroundMode_None);
    ASSERT_EQ(Render(input, output).Err(), PF_Err_NONE);
    EXPECT_TRUE(RowsAreTransparentBlack(output, 0, 24));
}

// With supersampling the mesh is drawn at twice the size and each output pixel is the mean of
// its 2 x 2 block: the same frame drawn at twice the size without supersampling, averaged by
// hand (alpha by mean, colour weighted by alpha), is what comes out.
TEST_F(MeshFrames, SupersamplingAveragesTwoByTwoBlocks) {
    Set("Quorvel Factor", 0);
    Set("Texture Filter", TextureFilter_Nearest);
    Set("Background Blend Mode", BackgroundMode_None);
    World input(Depth::Float, 32, 24);
    FillPattern(input);
    World big(Depth::Float, 64, 48);
    for (A_long y = 0; y < 48; ++y) {
        for (A_long x = 0; x < 64; ++x) {
            big.SetPixel(x, y, input.Pixel(x / 2, y / 2));
        }
    }
    // Slanted edges cut many blocks at different heights.
    SetMasks(StraightMask("Top", -4, 3.3, 36, 8.9), StraightMask("Bottom", -4, 19.6, 36, 14.2));
    World small(Depth::Float, 32, 24);
    ASSERT_EQ(Render(input, small).Err(), PF_Err_NONE);
    SetMasks(StraightMask("Top", -8, 6.6, 72, 17.8), StraightMask("Bottom", -8, 39.2, 72, 28.4));
    Set("Multisample Anti-aliasing", 0);
    World bigOut(Depth::Float, 64, 48);
    ASSERT_EQ(Render(big, bigOut).Err(), PF_Err_NONE);

    int partial = 0;
    for (A_long y = 0; y < 24; ++y) {
        for (A_long x = 0; x < 32; ++x) {
            float alpha = 0;
            PixelValue weighted = {0, 0, 0, 0};
            for (int i = 0; i < 4; ++i) {
                const PixelValue sample = bigOut.Pixel(2 * x + i % 2, 2 * y + i / 2);
                alpha += sample[0] / 4;
                for (int c = 1; c < 4; ++c) {
                    weighted[c] += sample[0] * sample[c] / 4;
                }
            }
            const PixelValue actual = small.Pixel(x, y);
            EXPECT_NEAR(actual[0], alpha, 1e-5) << x << "," << y;
            if (alpha >= 0.01f) {
                for (int c = 1; c < 4; ++c) {
                    EXPECT_NEAR(actual[c], weighted[c] / alpha, 1e-4) << x << "," << y;
                }
            }
            const PixelValue inside = input.Pixel(x, y);
            partial += alpha > 0 && alpha < inside[0] ? 1 : 0;
        }
    }
    // The edges do cut blocks.
    EXPECT_GT(partial, 20);
}

// Equal but for the rounding of the resolve pass, which copies through the main texture's
// linear filtering.
bool Near(const PixelValue& a, const PixelValue& b) {
    return std::equal(a.begin(), a.end(), b.begin(),
                      [](float x, float y) { return std::fabs(x - y) <= 1e-5f; });
}

// The wireframe over a transparent layer: triangle edges in the host's type-2 colour in even
// strips and in its half-way mix with the host's background colour in odd strips, a shadow
// in the background colour, and the line indices in red. Nothing else is drawn.
TEST_F(MeshFrames, TheWireframeTakesTheHostsColoursStripByStrip) {
    host.State<InterfaceColours>().SetBackground({0, 65535, 0});
    host.State<InterfaceColours>().Set(2, {0, 0, 65535});
    SetBand(4, 20, 2, 30);
    Set("Preview Wireframe Mesh", 1);
    Set("Multisample Anti-aliasing", 0);
    Set("Background Blend Mode", BackgroundMode_None);
    Set("Along Base Points", 5);
    Set("Across Base Points", 9);
    Set("Strips Enable", 1);
    Set("Strips Count", 4);
    World input(Depth::Float, 32, 24);
    input.Fill({0, 0, 0, 0});
    World output(Depth::Float, 32, 24);
    ASSERT_EQ(Render(input, output).Err(), PF_Err_NONE);

    // Inside each strip of four rows the edges hold one of the two edge colours only.
    const PixelValue blue = {1, 0, 0, 1};
    const PixelValue green = {1, 0, 1, 0};
    const PixelValue halfway = {1, 0, 0.5f, 0.5f};
    const PixelValue red = {1, 1, 0, 0};
    const PixelValue none = {0, 0, 0, 0};
    const PixelValue known[] = {blue, green, halfway, red, none};
    std::map<int, std::set<int>> stripColours;
    std::set<int> seen;
    for (A_long y = 0; y < 24; ++y) {
        for (A_long x = 0; x < 32; ++x) {
            const int colour = static_cast<int>(
                std::find_if(std::begin(known), std::end(known),
                             [&](const PixelValue& k) { return Near(output.Pixel(x, y), k); }) -
                std::begin(known));
            seen.insert(colour);
            if (y >= 5 && y < 20 && (y - 4) % 4 != 0 && (y - 4) % 4 != 3 && x > 3 && colour != 1 &&
                colour < 3) {
                stripColours[(y - 4) / 4].insert(colour);
            }
        }
    }
    EXPECT_EQ(seen, (std::set<int>{0, 1, 2, 3, 4}));  // every colour, nothing else
    for (int strip = 0; strip < 4; ++strip) {
        EXPECT_EQ(stripColours[strip], std::set<int>{strip % 2 == 0 ? 0 : 2}) << strip;
    }
    // The shadow lies one pixel right of and one row below each edge: with a single cell it
    // shows right of the red line on the left edge and below the top edge.
    Set("Along Base Points", 2);
    Set("Across Base Points", 2);
    Set("Strips Enable", 0);
    ASSERT_EQ(Render(input, output).Err(), PF_Err_NONE);
    A_long top = 1;
    while (top < 23 && !Near(output.Pixel(16, top), blue)) {
        ++top;
    }
    A_long left = 1;
    while (left < 31 && !Near(output.Pixel(left, 12), red)) {
        ++left;
    }
    EXPECT_TRUE(Near(output.Pixel(16, top + 1), green) && Near(output.Pixel(16, top - 1), none));
    EXPECT_TRUE(Near(output.Pixel(left + 1, 12), green) && Near(output.Pixel(left - 1, 12), none));
}

// The animation window slides the sampled part of the band: at phase p each vertex reads the
// layer p L before and (1 - p) L after its own place and mixes the two by p. A layer whose red
// grows with the square of x shows the mix (a straight ramp would hide it).
TEST_F(MeshFrames, TheAnimationWindowSlidesWithTime) {
    SetMasks(StraightMask("Top", 0, 4, 80, 4), StraightMask("Bottom", 0, 28, 80, 28));
    Set("Quorvel Factor", 0);
    Set("Texture Filter", TextureFilter_Nearest);
    Set("Multisample Anti-aliasing", 0);
    Set("Background Blend Mode", BackgroundMode_None);
    Set("Loop Mesh Part", 25);  // 20 pixels of the 80-pixel masks
    SetRamp("Quorvel Perpendicular Ramp", RampInterpolation_Line, {{0.0f, 1.0f}, {1.0f, 1.0f}});
    World input(Depth::Float, 80, 32);
    auto red = [](A_long x) { return static_cast<float>(x * x) / 8192.0f; };
    for (A_long y = 0; y < 32; ++y) {
        for (A_long x = 0; x < 80; ++x) {
            input.SetPixel(x, y, {1, red(x), 0.5f, 0.25f});
        }
    }
    // Animate, "Manual Animation", seconds and the phase they make.
    const double moments[][4] = {{1, 0, 0.0, 0.0},   {1, 0, 0.25, 0.25}, {1, 0, 0.5, 0.5},
                                 {1, 0, 0.75, 0.75}, {1, 0, 2.25, 0.25}, {0, 50, 0.75, 0.5},
                                 {1, 50, 0.25, 0.75}};
    for (const auto& [animate, manual, seconds, phase] : moments) {
        Set("Animate", animate);
        Set("Manual Animation", manual);
        SetSeconds(seconds);
        World output(Depth::Float, 80, 32);
        ASSERT_EQ(Render(input, output).Err(), PF_Err_NONE);
        const int before = static_cast<int>(std::lround(20 * phase));
        const int after = 20 - before;
        float worst = 0;
        for (A_long y = 6; y < 26; ++y) {
            for (A_long x = 20; x < 60; ++x) {
                const float expected = phase == 0.0
                                           ? red(x)
                                           : static_cast<float>((1 - phase) * red(x - before) +
                                                                phase * red(x + after));
                worst = std::max(worst, std::fabs(output.Pixel(x, y)[1] - expected));
                worst = std::max(worst, std::fabs(output.Pixel(x, y)[0] - 1.0f));
            }
        }
        EXPECT_LE(worst, 2e-5f) << "at " << seconds << " s, manual " << manual;
    }
    SetSeconds(0);
}

// A mesh with strips, noise and the wireframe, small enough that every call can be made to
// fail in turn.
class FullMeshFrames : public MeshFrames {
  protected:
    void SetUp() override {
        MeshFrames::SetUp();
        if (!setUp_) {
            return;
        }
        SetBand(4, 20);
        Set("Preview Wireframe Mesh", 1);
        Set("Strips Enable", 1);
        Set("Strips Count", 2);
        Set("Along Base Points", 4);
        Set("Across Base Points", 4);
        Set("Distortion Noise Amplitude", 20);
    }
};

// Each call of the frame that can report a failure fails once, and once reports success
// while handing out nothing. The host's context is current again and everything taken is
// given back, except what the host itself refused to take back: a suite whose release, a path
// whose check-in or a preparation whose clean-up failed stays with the host, which was asked
// once, and the test forgets it. (A failing parameter check-in is the other such case; it has
// a test of its own. The calls the host makes into the effect's ramp callbacks while it takes
// the parameters back are the host's own, not the frame's, and are left alone.)
TEST_F(FullMeshFrames, EveryHostCallOfAFrameMadeToFailOnce) {
    const char* const functions[] = {
        "checkout_param",       "checkout_layer",          "checkout_layer_pixels",
        "checkout_output",      "checkin_layer_pixels",    "AcquireSuite",
        "ReleaseSuite",         "PF_GetPixelFormat",       "get_pixel_data8",
        "get_pixel_data16",     "get_pixel_data_float",    "iterate",
        "host_new_handle",      "host_lock_handle",        "abort",
        "PF_AppGetBgColor",     "PF_AppGetColor",          "sprintf",
        "PF_CheckoutPath",      "PF_CheckinPath",          "PF_PathNumSegments",
        "PF_PathIsOpen",        "PF_PathPrepareSegLength", "PF_PathGetSegLength",
        "PF_PathEvalSegLength", "PF_PathCleanupSegLength",
    };
    for (Depth depth : kDepths) {
        World input(depth, 32, 24, 16);
        World output(depth, 32, 24);
        World reference(depth, 32, 24);
        FillPattern(input);
        ASSERT_EQ(Render(input, reference).Err(), PF_Err_NONE);
        for (const std::string name : functions) {
            host.faults().StartJournal();
            ASSERT_EQ(Render(input, output).Err(), PF_Err_NONE);
            const std::vector<std::string> journal = host.faults().Journal();
            // Between the first and the last parameter check-in the host calls into the
            // effect's ramp callbacks on its own account. The frame gives back in the host's
            // order: the World suite right before the parameters, the layer after them, then
            // the rest of the suites.
            const auto first = std::find(journal.begin(), journal.end(), "checkin_param");
            const auto last = std::find(journal.rbegin(), journal.rend(), "checkin_param").base();
            const auto layer = std::find(last, journal.end(), "checkin_layer_pixels");
            ASSERT_TRUE(first != journal.begin() && first != journal.end());
            EXPECT_EQ(*std::prev(first), "ReleaseSuite");
            EXPECT_NE(std::find(layer, journal.end(), "ReleaseSuite"), journal.end());
            int nth = 0;
            for (auto call = journal.begin(); call != journal.end(); ++call) {
                if (*call != name || (++nth, call > first && call < last)) {
                    continue;
                }
                for (const bool giveNull : {false, true}) {
                    SCOPED_TRACE(name + " call " + std::to_string(nth) +
                                 (giveNull ? " gives nothing" : " fails"));
                    giveNull ? host.faults().NullCall(name, nth)
                             : host.faults().FailCall(name, nth, 1234);
                    const FrameResult result = Render(input, output, false);
                    host.faults().Clear();
                    // Answers that are not the frame's: a release's, a path check-in's, and
                    // the 8-bit probe of a float world's, which only says "not 8-bit".
                    const bool reported = name != "ReleaseSuite" && name != "PF_CheckinPath" &&
                                          !(name == "get_pixel_data8" && depth == Depth::Float);
                    if (!giveNull && reported) {
                        EXPECT_NE(result.Err(), PF_Err_NONE);
                    }
                    // Pixels promised but not given: no frame is made from or into nothing. A
                    // null 8-bit probe only sends the world down the float path, whose own
                    // answer ends the frame.
                    if (giveNull && reported && name.rfind("get_pixel_data", 0) == 0) {
                        const bool probe = name == "get_pixel_data8" && nth == 1;
                        EXPECT_EQ(result.Err(),
                                  probe ? PF_Err_BAD_CALLBACK_PARAM : PF_Err_OUT_OF_MEMORY);
                    }
                    // What the host refused to take back (or only pretended to take, for a
                    // suite) stays with it: the frame asked once.
                    const std::map<std::string, std::string> refusals = {
                        {"ReleaseSuite", "suite "},
                        {"PF_CheckinPath", "path "},
                        {"PF_PathCleanupSegLength", "length preparation "}};
                    if ((!giveNull || name == "ReleaseSuite") && refusals.count(name) != 0) {
                        EXPECT_TRUE(ForgetRefusedItem(host, refusals.at(name)));
                    }
                    EXPECT_LEDGER_BALANCED(host);
                }
            }
            // The frame after the failures is whole again.
            ASSERT_EQ(Render(input, output).Err(), PF_Err_NONE) << name;
            EXPECT_EQ(Difference(reference, output), 0.0f) << name;
        }
    }
}

// Noise settings at the float maximum whose products leave the float range: the float frame
// holds no channel that is not a finite number.
TEST_F(FullMeshFrames, NoiseSettingsAtTheFloatMaximumGiveFinitePixels) {
    const struct {
        const char* first;
        const char* second;
        double secondValue;
    } pairs[] = {
        {"Distortion Noise Scale", "Distortion Noise Scale X", FLT_MAX},
        {"Distortion Noise Scale", "Distortion Noise Scale Y", FLT_MAX},
        {"Distortion Noise Scale", "Distortion Noise Inner Offset", -FLT_MAX},
        {"Distortion Noise Scale X", "Distortion Noise Inner Offset", FLT_MAX},
    };
    World input(Depth::Float, 32, 24, 16);
    FillPattern(input);
    for (const auto& pair : pairs) {
        Set(pair.first, FLT_MAX);
        Set(pair.second, pair.secondValue);
        World output(Depth::Float, 32, 24);
        ASSERT_EQ(Render(input, output).Err(), PF_Err_NONE);
        // Rows without padding: the channels one after the other.
        const float* channels = reinterpret_cast<const float*>(output.Row(0));
        const long notFinite = std::count_if(channels, channels + 32 * 24 * 4,
                                             [](float channel) { return !std::isfinite(channel); });
        EXPECT_EQ(notFinite, 0) << pair.first << " and " << pair.second;
        Set(pair.first, 100);
        Set(pair.second, std::string(pair.second) == "Distortion Noise Inner Offset" ? 0 : 100);
    }
}

TEST_F(FullMeshFrames, FourThreadsRenderTheSameFramesAsOne) {
    for (Depth depth : kDepths) {
        std::deque<World> inputs, single, parallel;
        std::vector<FrameWorlds> frames;
        // One layer size, as the host renders one layer; each frame its own pixels.
        for (int i = 0; i < 4; ++i) {
            FillPattern(inputs.emplace_back(depth, 40, 30, 4 * i));
            inputs[i].SetPixel(i, 10 + i, {WhiteOf(depth), 0, 0, 0});
            ASSERT_EQ(Render(inputs[i], single.emplace_back(depth, 40, 30)).Err(), PF_Err_NONE);
            frames.push_back({&inputs[i], &parallel.emplace_back(depth, 40, 30)});
        }
        for (const FrameResult& result : RenderFramesAtOnce(effect(), frames)) {
            EXPECT_EQ(result.Err(), PF_Err_NONE);
        }
        EXPECT_LEDGER_BALANCED(host);
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(Difference(single[i], parallel[i]), 0.0f) << i;
        }
    }
}

}  // namespace
