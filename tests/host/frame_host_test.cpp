#include <memory>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host/frame_job.h"
#include "host/frame_suites.h"
#include "host/world.h"

namespace {

using quorvel::host::Depth;
using quorvel::host::World;

// Faults injected into these calls, and the layer pixels that the host's ledger counts, are
// walked through the module's frames.

// Which pixel callback gives a world's pixels in each depth, the module's frames find out
// (the example references in every depth).
TEST(FrameHost, WorldsOfEachDepthAndTheirPixelCallbacks) {
    struct Case {
        Depth depth;
        PF_PixelFormat format;
        size_t bytes;
        bool deep;
    };
    const Case cases[] = {{Depth::Bits8, PF_PixelFormat_ARGB32, 4, false},
                          {Depth::Bits16, PF_PixelFormat_ARGB64, 8, true},
                          {Depth::Float, PF_PixelFormat_ARGB128, 16, false}};
    const PF_PixelDataSuite1* pixels = quorvel::host::PixelDataSuite1();
    for (const Case& c : cases) {
        World world(c.depth, 5, 3, 7);
        PF_EffectWorld* effect = world.Effect();
        EXPECT_EQ(effect->rowbytes, static_cast<A_long>(5 * c.bytes + 7));
        EXPECT_EQ((effect->world_flags & PF_WorldFlag_DEEP) != 0, c.deep);
        PF_PixelFormat format = 0;
        EXPECT_EQ(quorvel::host::WorldSuite2()->PF_GetPixelFormat(effect, &format), PF_Err_NONE);
        EXPECT_EQ(format, c.format);
    }

    // A copy of a world's record is not a world of the host.
    World world(Depth::Bits8, 2, 2);
    PF_EffectWorld copy = *world.Effect();
    PF_Pixel8* p8 = nullptr;
    PF_PixelFormat format = 0;
    EXPECT_EQ(pixels->get_pixel_data8(&copy, nullptr, &p8), PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(quorvel::host::WorldSuite2()->PF_GetPixelFormat(&copy, &format),
              PF_Err_BAD_CALLBACK_PARAM);

    // Outputs that the effect writes whole take memory that worlds gone before gave back,
    // never memory a live world holds.
    using quorvel::host::Pixels;
    std::vector<std::unique_ptr<World>> outputs;
    for (int i = 0; i < 4; ++i) {
        outputs.push_back(std::make_unique<World>(Depth::Float, 256, 256, 0, Pixels::Unset));
        if (i == 1) {
            outputs.erase(outputs.begin());
        }
    }
    std::set<const unsigned char*> memory;
    for (const auto& output : outputs) {
        memory.insert(output->Row(0));
    }
    EXPECT_EQ(memory.size(), outputs.size());
}

TEST(FrameHost, SmartRenderCallbacksHandOutTheFrameOnItsOwnThread) {
    World input(Depth::Bits16, 8, 6);
    World output(Depth::Bits16, 8, 6);
    quorvel::host::FrameJob job;
    job.input = &input;
    job.output = &output;
    const PF_SmartRenderCallbacks* cb = quorvel::host::SmartRenderCallbacks();
    PF_EffectWorld* world = nullptr;
    // Outside a frame nothing is handed out.
    EXPECT_EQ(cb->checkout_layer_pixels(nullptr, 0, &world), PF_Err_BAD_CALLBACK_PARAM);
    {
        quorvel::host::FrameJobScope scope(job);
        EXPECT_EQ(cb->checkout_layer_pixels(nullptr, 0, &world), PF_Err_NONE);
        EXPECT_EQ(world, input.Effect());
        EXPECT_EQ(cb->checkout_output(nullptr, &world), PF_Err_NONE);
        EXPECT_EQ(world, output.Effect());
        EXPECT_EQ(cb->checkin_layer_pixels(nullptr, 0), PF_Err_NONE);
        EXPECT_EQ(job.inputCheckouts, 0);
        EXPECT_EQ(job.misuses, 0);

        // An unpaired check-in and an unknown id are misuses, seen by the test.
        EXPECT_EQ(cb->checkin_layer_pixels(nullptr, 0), PF_Err_BAD_CALLBACK_PARAM);
        EXPECT_EQ(cb->checkout_layer_pixels(nullptr, 1, &world), PF_Err_BAD_CALLBACK_PARAM);
        EXPECT_EQ(job.misuses, 2);
    }
}

}  // namespace
