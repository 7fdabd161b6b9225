#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <functional>
#include <fstream>
#include <string>
#include <vector>

#include <OpenImageIO/imageio.h>
#include <gtest/gtest.h>

#include "host/image_file.h"
#include "host/scene.h"
#include "tests/support/error_message.h"
#include "tests/support/image_compare.h"
#include "tests/support/temp_folder.h"

namespace {

using namespace quorvel::host;
using namespace quorvel::testing;

using ImageFileTest = TempFolderTest;

// A world with alphas from opaque down to transparent and colours unlike each other in each
// channel, so that a swapped channel or a lost division by alpha shows.
std::unique_ptr<World> GradientWorld(Depth depth, A_long width = 37, A_long height = 5) {
    auto world = std::make_unique<World>(depth, width, height);
    const float white = WhiteOf(depth);
    for (A_long y = 0; y < world->Height(); ++y) {
        for (A_long x = 0; x < world->Width(); ++x) {
            const float t = static_cast<float>(x) / static_cast<float>(width - 1);
            const float alpha = 1.0f - 0.2f * static_cast<float>(y % 5);
            world->SetPixel(
                x, y,
                {alpha * white, t * white, (1.0f - t) * white, (0.25f + 0.5f * t * t) * white});
        }
    }
    return world;
}

TEST_F(ImageFileTest, RoundTripsEveryDepthThroughEveryFormat) {
    struct Case {
        Depth depth;
        const char* name;
        float tolerance;
        A_long width = 37;
    };
    // PNG and TIFF keep 8 and 16 bits exactly and plain colour; EXR holds colour multiplied
    // by alpha, so dividing back costs float rounding (and half-float rounding in 8 bits,
    // still below half a step). The wide images are written in several blocks at once, the last
    // one short.
    const Case cases[] = {
        {Depth::Bits8, "a.png", 0.0f},
        {Depth::Bits16, "a.png", 0.0f},
        {Depth::Bits8, "a.tif", 0.0f},
        {Depth::Bits16, "a.tiff", 0.0f},
        {Depth::Float, "a.tif", 0.0f},
        {Depth::Float, "a.exr", 1e-6f},
        {Depth::Bits16, "a.exr", 0.0f},
        {Depth::Bits8, "a.exr", 0.0f},
        {Depth::Float, "a.PNG", 1.0f / 65535.0f},
        {Depth::Bits16, "wide.png", 0.0f, 14000},
        {Depth::Bits16, "wide.tif", 0.0f, 14000},
    };
    for (const Case& c : cases) {
        const auto original = GradientWorld(c.depth, c.width);
        std::uintmax_t previousSize = 0;
        for (const Compression compression :
             {Compression::Small, Compression::Fast, Compression::None}) {
            SCOPED_TRACE(std::string(c.name) + " at " + DepthName(c.depth) + ", compression " +
                         std::to_string(static_cast<int>(compression)));
            WriteImageFile(File(c.name), *original, compression);
            const WorldDifference difference =
                CompareWorlds(*original, *ReadImageFile(File(c.name), c.depth), c.tolerance);
            EXPECT_TRUE(difference.sameShape && difference.pixelsBeyondTolerance == 0)
                << Describe(difference);
            // Harder packing makes smaller files.
            const std::uintmax_t size = std::filesystem::file_size(File(c.name));
            EXPECT_GT(size, previousSize);
            previousSize = size;
        }
    }
}

TEST_F(ImageFileTest, SixteenBitsMapTheHostRangeOntoTheFileRange) {
    World world(Depth::Bits16, 3, 1);
    world.SetPixel(0, 0, {32768, 0, 16384, 32768});
    WriteImageFile(File("range.png"), world);

    auto input = OIIO::ImageInput::open(File("range.png"));
    ASSERT_TRUE(input);
    EXPECT_EQ(OIIO::TypeDesc::UINT16, input->spec().format);
    std::uint16_t file[12] = {};
    ASSERT_TRUE(input->read_image(0, 0, 0, 4, OIIO::TypeDesc::UINT16, file));
    // File order R, G, B, A with 65535 as full scale.
    EXPECT_EQ(std::vector<std::uint16_t>(file, file + 4),
              (std::vector<std::uint16_t>{0, 32768, 65535, 65535}));

    // Every host value survives the trip through the wider file range.
    World ramp(Depth::Bits16, 256, 129);
    for (int y = 0; y < ramp.Height(); ++y) {
        for (int x = 0; x < ramp.Width(); ++x) {
            const float value = static_cast<float>(std::min(32768, y * 256 + x));
            ramp.SetPixel(x, y, {value, value, value, value});
        }
    }
    WriteImageFile(File("ramp.tif"), ramp);
    const auto back = ReadImageFile(File("ramp.tif"), Depth::Bits16);
    for (A_long y = 0; y < ramp.Height(); ++y) {
        ASSERT_EQ(0, std::memcmp(ramp.Row(y), back->Row(y), ramp.RowBytes())) << "row " << y;
    }
}

TEST_F(ImageFileTest, FloatValuesAboveOneSurviveExrAndClampInPng) {
    World bright(Depth::Float, 2, 1);
    bright.SetPixel(0, 0, {1.0f, 4.5f, -0.25f, 1e20f});
    bright.SetPixel(1, 0, {0.5f, 2.0f, 0.0f, 1.0f});
    WriteImageFile(File("bright.exr"), bright);
    WriteImageFile(File("bright.png"), bright);
    const auto exr = ReadImageFile(File("bright.exr"), Depth::Float);
    EXPECT_EQ(exr->Pixel(0, 0), bright.Pixel(0, 0));
    EXPECT_FLOAT_EQ(2.0f, exr->Pixel(1, 0)[1]);
    EXPECT_EQ(ReadImageFile(File("bright.png"), Depth::Float)->Pixel(0, 0),
              (PixelValue{1.0f, 1.0f, 0.0f, 1.0f}));
}

TEST_F(ImageFileTest, ReadsFilesOfOtherLayoutsAndDepths) {
    // A grey PNG without alpha, a grey PNG with alpha, a TIFF with alpha after two more
    // channels, and a TIFF in tiles, written directly.
    struct Layout {
        const char* name;
        int channels;
        float values[6];
        PixelValue expected;
        int alphaChannel = -1;
        bool tiled = false;
    };
    const Layout layouts[] = {
        {"grey.png", 1, {0.6f}, {1.0f, 0.6f, 0.6f, 0.6f}},
        {"grey_alpha.png", 2, {0.2f, 0.4f}, {0.4f, 0.2f, 0.2f, 0.2f}},
        {"six.tif", 6, {0.2f, 0.4f, 0.8f, 0.9f, 0.1f, 0.5f}, {0.5f, 0.2f, 0.4f, 0.8f}, 5},
        {"tiles.tif", 4, {0.2f, 0.4f, 0.8f, 0.5f}, {0.5f, 0.2f, 0.4f, 0.8f}, 3, true},
    };
    for (const Layout& layout : layouts) {
        SCOPED_TRACE(layout.name);
        auto output = OIIO::ImageOutput::create(File(layout.name));
        OIIO::ImageSpec imageSpec(1, 1, layout.channels, OIIO::TypeDesc::UINT16);
        imageSpec.attribute("oiio:UnassociatedAlpha", 1);
        imageSpec.alpha_channel = layout.alphaChannel;
        imageSpec.tile_width = imageSpec.tile_height = layout.tiled ? 16 : 0;
        ASSERT_TRUE(output->open(File(layout.name), imageSpec));
        ASSERT_TRUE(output->write_image(OIIO::TypeDesc::FLOAT, layout.values));
        ASSERT_TRUE(output->close());
        // Read into another depth than the file's: 8 bits from a 16-bit file.
        const PixelValue color = ReadImageFile(File(layout.name), Depth::Bits8)->Pixel(0, 0);
        for (int c = 0; c < 4; ++c) {
            EXPECT_NEAR(layout.expected[c] * 255.0f, color[c], 0.5f) << "channel " << c;
        }
    }
}

TEST_F(ImageFileTest, FailuresNameTheFileAndTheReason) {
    std::ofstream(File("garbage.png")) << "not a png at all";
    const World card(Depth::Bits8, 8, 8);
    const World empty(Depth::Bits8, 0, 0);
    struct Case {
        std::function<void()> action;
        std::string message;
    };
    const Case cases[] = {
        {[&] { ReadImageFile(File("missing.png"), Depth::Bits8); }, File("missing.png")},
        {[&] { ReadImageFile(File("garbage.png"), Depth::Float); }, "cannot read"},
        {[&] { WriteImageFile(File("card.jpg"), card); }, ".png, .tif"},
        {[&] { WriteImageFile(File("empty.png"), empty); }, "empty"},
    };
    for (const Case& c : cases) {
        const std::string message = MessageOf<ImageFileError>(c.action);
        EXPECT_NE(std::string::npos, message.find(c.message)) << message;
    }
}

}  // namespace
