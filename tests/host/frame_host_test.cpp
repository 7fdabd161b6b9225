#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host/frame_hooks.h"
#include "host/frame_job.h"
#include "host/frame_suites.h"
#include "host/world.h"

namespace {

using quorvel::host::Depth;
using quorvel::host::World;

// Fault injection and ledger of these tests: one named call fails (or gives nothing) once.
struct Faults {
    static std::string function;
    static quorvel::host::CallFault fault;
    static int layerPixels;
    static quorvel::host::CallFault For(const char* name) {
        if (function == name) {
            function.clear();
            return fault;
        }
        return {};
    }
    static void Count(const char* kind, int delta) {
        if (std::string(kind) == "layer pixels") {
            layerPixels += delta;
        }
    }
};
std::string Faults::function;
quorvel::host::CallFault Faults::fault;
int Faults::layerPixels = 0;

class FrameHost : public testing::Test {
  protected:
    void SetUp() override { quorvel::host::InstallFrameHooks({Faults::For, Faults::Count}); }
    void TearDown() override {
        quorvel::host::InstallFrameHooks({});
        EXPECT_EQ(Faults::layerPixels, 0);
    }
    static void FailNext(const char* function, PF_Err code, bool giveNull = false) {
        Faults::function = function;
        Faults::fault = {code, giveNull};
    }
};

TEST_F(FrameHost, WorldsOfEachDepthAndTheirPixelCallbacks) {
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

        // Only the callback of the world's own depth gives its pixels.
        PF_Pixel8* p8 = reinterpret_cast<PF_Pixel8*>(1);
        PF_Pixel16* p16 = reinterpret_cast<PF_Pixel16*>(1);
        PF_PixelFloat* pf = reinterpret_cast<PF_PixelFloat*>(1);
        const PF_Err e8 = pixels->get_pixel_data8(effect, nullptr, &p8);
        const PF_Err e16 = pixels->get_pixel_data16(effect, nullptr, &p16);
        const PF_Err ef = pixels->get_pixel_data_float(effect, nullptr, &pf);
        const void* data = effect->data;
        EXPECT_EQ(c.depth == Depth::Bits8 ? data : nullptr, static_cast<void*>(p8));
        EXPECT_EQ(c.depth == Depth::Bits16 ? data : nullptr, static_cast<void*>(p16));
        EXPECT_EQ(c.depth == Depth::Float ? data : nullptr, static_cast<void*>(pf));
        EXPECT_EQ(e8 == PF_Err_NONE, c.depth == Depth::Bits8);
        EXPECT_EQ(e16 == PF_Err_NONE, c.depth == Depth::Bits16);
        EXPECT_EQ(ef == PF_Err_NONE, c.depth == Depth::Float);

    }

    // A copy of a world's record is not a world of the host.
    World world(Depth::Bits8, 2, 2);
    PF_EffectWorld copy = *world.Effect();
    PF_Pixel8* p8 = nullptr;
    PF_PixelFormat format = 0;
    EXPECT_EQ(pixels->get_pixel_data8(&copy, nullptr, &p8), PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(quorvel::host::WorldSuite2()->PF_GetPixelFormat(&copy, &format),
              PF_Err_BAD_CALLBACK_PARAM);

    // Injected: a failure, and a success without pixels.
    FailNext("get_pixel_data8", PF_Err_OUT_OF_MEMORY);
    EXPECT_EQ(pixels->get_pixel_data8(world.Effect(), nullptr, &p8), PF_Err_OUT_OF_MEMORY);
    EXPECT_EQ(p8, nullptr);
    FailNext("get_pixel_data8", PF_Err_NONE, true);
    EXPECT_EQ(pixels->get_pixel_data8(world.Effect(), nullptr, &p8), PF_Err_NONE);
    EXPECT_EQ(p8, nullptr);
    FailNext("PF_GetPixelFormat", 7);
    EXPECT_EQ(quorvel::host::WorldSuite2()->PF_GetPixelFormat(world.Effect(), &format), 7);

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

TEST_F(FrameHost, SmartRenderCallbacksHandOutTheFrameOnItsOwnThread) {
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

        // Injected: a failing check-out holds nothing; a success without a world is held.
        FailNext("checkout_layer_pixels", PF_Err_OUT_OF_MEMORY);
        EXPECT_EQ(cb->checkout_layer_pixels(nullptr, 0, &world), PF_Err_OUT_OF_MEMORY);
        EXPECT_EQ(job.inputCheckouts, 0);
        FailNext("checkout_layer_pixels", PF_Err_NONE, true);
        EXPECT_EQ(cb->checkout_layer_pixels(nullptr, 0, &world), PF_Err_NONE);
        EXPECT_EQ(world, nullptr);
        EXPECT_EQ(job.inputCheckouts, 1);
        FailNext("checkin_layer_pixels", 11);
        EXPECT_EQ(cb->checkin_layer_pixels(nullptr, 0), 11);
        EXPECT_EQ(job.inputCheckouts, 0);
        FailNext("checkout_output", PF_Err_NONE, true);
        EXPECT_EQ(cb->checkout_output(nullptr, &world), PF_Err_NONE);
        EXPECT_EQ(world, nullptr);
    }
}

}  // namespace
