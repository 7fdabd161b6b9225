#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include <OpenImageIO/imageio.h>
#include <gtest/gtest.h>

#include "host/image_file.h"
#include "host/test_card.h"

namespace {

using namespace quorvel::host;

class ImageFileTest : public testing::Test {
  protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() /
                  ("quorvel_image_file_" + std::to_string(::getpid()) + "_" +
                   testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    std::string File(const std::string& name) const { return (folder_ / name).string(); }

    std::filesystem::path folder_;
};

// Every channel of every pixel, at the depth's own steps.
void ExpectSameImage(const Image& expected, const Image& actual, float tolerance) {
    ASSERT_EQ(expected.Width(), actual.Width());
    ASSERT_EQ(expected.Height(), actual.Height());
    ASSERT_EQ(expected.Depth(), actual.Depth());
    for (int y = 0; y < expected.Height(); ++y) {
        for (int x = 0; x < expected.Width(); ++x) {
            const Color e = expected.Pixel(x, y);
            const Color a = actual.Pixel(x, y);
            ASSERT_NEAR(e.alpha, a.alpha, tolerance) << x << "," << y;
            ASSERT_NEAR(e.red, a.red, tolerance) << x << "," << y;
            ASSERT_NEAR(e.green, a.green, tolerance) << x << "," << y;
            ASSERT_NEAR(e.blue, a.blue, tolerance) << x << "," << y;
        }
    }
}

// An image with every alpha from opaque down to transparent and colours unlike each other
// in each channel, so that a swapped channel or a lost division by alpha shows.
Image GradientImage(PixelDepth depth) {
    Image image(depth, 37, 5);
    for (int y = 0; y < image.Height(); ++y) {
        for (int x = 0; x < image.Width(); ++x) {
            const float t = static_cast<float>(x) / 36.0f;
            const float alpha = y == 0 ? 1.0f : 1.0f - 0.2f * static_cast<float>(y);
            image.SetPixel(x, y, {alpha, t, 1.0f - t, 0.25f + 0.5f * t * t});
        }
    }
    return image;
}

TEST_F(ImageFileTest, RoundTripsEveryDepthThroughEveryFormat) {
    struct Case {
        PixelDepth depth;
        const char* name;
        float tolerance;
    };
    // PNG and TIFF keep 8 and 16 bits exactly and plain colour; EXR holds colour multiplied
    // by alpha, so dividing back costs float rounding (and half-float rounding in 8 bits,
    // still below half a step).
    const Case cases[] = {
        {PixelDepth::Eight, "a.png", 0.0f},
        {PixelDepth::Sixteen, "a.png", 0.0f},
        {PixelDepth::Eight, "a.tif", 0.0f},
        {PixelDepth::Sixteen, "a.tiff", 0.0f},
        {PixelDepth::Float, "a.tif", 0.0f},
        {PixelDepth::Float, "a.exr", 1e-6f},
        {PixelDepth::Sixteen, "a.exr", 0.0f},
        {PixelDepth::Eight, "a.exr", 0.0f},
        {PixelDepth::Float, "a.PNG", 1.0f / 65535.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " at " + PixelDepthName(c.depth));
        const Image original = GradientImage(c.depth);
        WriteImageFile(File(c.name), original);
        ExpectSameImage(original, ReadImageFile(File(c.name), c.depth), c.tolerance);
    }
}

TEST_F(ImageFileTest, SixteenBitsMapTheHostRangeOntoTheFileRange) {
    Image image(PixelDepth::Sixteen, 3, 1);
    image.SetPixel(0, 0, {1.0f, 0.0f, 0.5f, 1.0f});
    std::uint16_t channels[4] = {32768, 0, 16384, 32768};
    ASSERT_EQ(0, std::memcmp(image.Row(0), channels, sizeof(channels)));
    WriteImageFile(File("range.png"), image);

    auto input = OIIO::ImageInput::open(File("range.png"));
    ASSERT_TRUE(input);
    EXPECT_EQ(OIIO::TypeDesc::UINT16, input->spec().format);
    std::uint16_t file[12] = {};
    ASSERT_TRUE(input->read_image(0, 0, 0, 4, OIIO::TypeDesc::UINT16, file));
    // File order R, G, B, A with 65535 as full scale.
    EXPECT_EQ(0, file[0]);
    EXPECT_EQ(32768, file[1]);
    EXPECT_EQ(65535, file[2]);
    EXPECT_EQ(65535, file[3]);

    // Every host value survives the trip through the wider file range.
    Image ramp(PixelDepth::Sixteen, 256, 129);
    for (int y = 0; y < ramp.Height(); ++y) {
        auto* row = reinterpret_cast<std::uint16_t*>(ramp.Row(y));
        for (int x = 0; x < ramp.Width(); ++x) {
            for (int c = 0; c < 4; ++c) {
                row[4 * x + c] = static_cast<std::uint16_t>(std::min(32768, y * 256 + x));
            }
        }
    }
    WriteImageFile(File("ramp.tif"), ramp);
    const Image back = ReadImageFile(File("ramp.tif"), PixelDepth::Sixteen);
    for (int y = 0; y < ramp.Height(); ++y) {
        ASSERT_EQ(0, std::memcmp(ramp.Row(y), back.Row(y), ramp.RowBytes())) << "row " << y;
    }
}

TEST_F(ImageFileTest, FloatValuesAboveOneSurviveExrAndClampInPng) {
    Image bright(PixelDepth::Float, 2, 1);
    bright.SetPixel(0, 0, {1.0f, 4.5f, -0.25f, 1e20f});
    bright.SetPixel(1, 0, {0.5f, 2.0f, 0.0f, 1.0f});
    WriteImageFile(File("bright.exr"), bright);
    const Image exr = ReadImageFile(File("bright.exr"), PixelDepth::Float);
    EXPECT_FLOAT_EQ(4.5f, exr.Pixel(0, 0).red);
    EXPECT_FLOAT_EQ(-0.25f, exr.Pixel(0, 0).green);
    EXPECT_FLOAT_EQ(1e20f, exr.Pixel(0, 0).blue);
    EXPECT_FLOAT_EQ(2.0f, exr.Pixel(1, 0).red);

    WriteImageFile(File("bright.png"), bright);
    const Image png = ReadImageFile(File("bright.png"), PixelDepth::Float);
    EXPECT_FLOAT_EQ(1.0f, png.Pixel(0, 0).red);
    EXPECT_FLOAT_EQ(0.0f, png.Pixel(0, 0).green);
    EXPECT_FLOAT_EQ(1.0f, png.Pixel(0, 0).blue);
}

TEST_F(ImageFileTest, ReadsFilesOfOtherLayoutsAndDepths) {
    // A grey PNG without alpha, a grey PNG with alpha and an RGB TIFF, written directly.
    struct Layout {
        const char* name;
        int channels;
        float values[4];
        Color expected;
    };
    const Layout layouts[] = {
        {"grey.png", 1, {0.6f}, {1.0f, 0.6f, 0.6f, 0.6f}},
        {"grey_alpha.png", 2, {0.2f, 0.4f}, {0.4f, 0.2f, 0.2f, 0.2f}},
        {"rgb.tif", 3, {0.2f, 0.4f, 0.8f}, {1.0f, 0.2f, 0.4f, 0.8f}},
    };
    for (const Layout& layout : layouts) {
        SCOPED_TRACE(layout.name);
        auto output = OIIO::ImageOutput::create(File(layout.name));
        OIIO::ImageSpec spec(1, 1, layout.channels, OIIO::TypeDesc::UINT16);
        spec.attribute("oiio:UnassociatedAlpha", 1);
        ASSERT_TRUE(output->open(File(layout.name), spec));
        ASSERT_TRUE(output->write_image(OIIO::TypeDesc::FLOAT, layout.values));
        ASSERT_TRUE(output->close());
        // Read into another depth than the file's: 8 bits from a 16-bit file.
        const Image image = ReadImageFile(File(layout.name), PixelDepth::Eight);
        const Color color = image.Pixel(0, 0);
        EXPECT_NEAR(layout.expected.alpha, color.alpha, 0.5f / 255.0f);
        EXPECT_NEAR(layout.expected.red, color.red, 0.5f / 255.0f);
        EXPECT_NEAR(layout.expected.green, color.green, 0.5f / 255.0f);
        EXPECT_NEAR(layout.expected.blue, color.blue, 0.5f / 255.0f);
    }
}

TEST_F(ImageFileTest, PremultipliedFilesAreDividedBack) {
    // An EXR written directly holds colour multiplied by alpha: 0.25 at alpha 0.5 is 0.5.
    auto output = OIIO::ImageOutput::create(File("premultiplied.exr"));
    OIIO::ImageSpec spec(2, 1, 4, OIIO::TypeDesc::FLOAT);
    ASSERT_TRUE(output->open(File("premultiplied.exr"), spec));
    const float pixels[8] = {0.25f, 0.1f, 0.0f, 0.5f, 0.0f, 0.0f, 0.0f, 0.0f};
    ASSERT_TRUE(output->write_image(OIIO::TypeDesc::FLOAT, pixels));
    ASSERT_TRUE(output->close());
    const Image image = ReadImageFile(File("premultiplied.exr"), PixelDepth::Float);
    EXPECT_FLOAT_EQ(0.5f, image.Pixel(0, 0).alpha);
    EXPECT_FLOAT_EQ(0.5f, image.Pixel(0, 0).red);
    EXPECT_FLOAT_EQ(0.2f, image.Pixel(0, 0).green);
    // Transparent pixels keep colour 0 rather than dividing by zero.
    EXPECT_FLOAT_EQ(0.0f, image.Pixel(1, 0).red);
}

TEST_F(ImageFileTest, FailuresNameTheFileAndTheReason) {
    const auto message = [](auto&& action) {
        try {
            action();
        } catch (const ImageFileError& error) {
            return std::string(error.what());
        }
        return std::string("no error");
    };
    const std::string missing = File("missing.png");
    EXPECT_NE(std::string::npos,
              message([&] { ReadImageFile(missing, PixelDepth::Eight); }).find(missing));

    const std::string garbage = File("garbage.png");
    {
        std::FILE* file = std::fopen(garbage.c_str(), "wb");
        ASSERT_NE(nullptr, file);
        std::fputs("not a png at all", file);
        std::fclose(file);
    }
    EXPECT_NE(std::string::npos,
              message([&] { ReadImageFile(garbage, PixelDepth::Float); }).find("cannot read"));

    const Image card = MakeTestCard(PixelDepth::Eight, 8, 8);
    EXPECT_NE(std::string::npos,
              message([&] { WriteImageFile(File("card.jpg"), card); }).find(".png, .tif"));
    EXPECT_NE(std::string::npos, message([&] {
                                     WriteImageFile(File("no/such/folder/card.png"), card);
                                 }).find("cannot write"));
    EXPECT_NE(std::string::npos,
              message([&] { WriteImageFile(File("empty.png"), Image()); }).find("empty"));
}

}  // namespace
