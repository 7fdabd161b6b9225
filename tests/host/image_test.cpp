#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <stdexcept>

#include <gtest/gtest.h>

#include "host/image.h"
#include "host/test_card.h"

namespace {

using namespace quorvel::host;

TEST(ImageTest, ChannelsStandInTheHostOrderAndRange) {
    Image eight(PixelDepth::Eight, 2, 2);
    EXPECT_EQ(8u, eight.RowBytes());
    eight.SetPixel(1, 1, {1.0f, 0.5f, 0.0f, 2.0f});
    const std::uint8_t expected8[4] = {255, 128, 0, 255};
    EXPECT_EQ(0, std::memcmp(eight.Row(1) + 4, expected8, 4));
    EXPECT_EQ(0, eight.Row(0)[0]);

    Image sixteen(PixelDepth::Sixteen, 1, 1);
    sixteen.SetPixel(0, 0, {1.0f, 0.5f, -1.0f, std::numeric_limits<float>::quiet_NaN()});
    const std::uint16_t expected16[4] = {32768, 16384, 0, 0};
    EXPECT_EQ(0, std::memcmp(sixteen.Row(0), expected16, 8));
    EXPECT_FLOAT_EQ(0.5f, sixteen.Pixel(0, 0).red);

    Image floating(PixelDepth::Float, 1, 1);
    floating.SetPixel(0, 0, {0.25f, 7.0f, -3.0f, 1.0f});
    EXPECT_FLOAT_EQ(7.0f, floating.Pixel(0, 0).red);
    EXPECT_FLOAT_EQ(-3.0f, floating.Pixel(0, 0).green);
}

TEST(ImageTest, RefusesSizesBeyondItsLimits) {
    EXPECT_THROW(Image(PixelDepth::Eight, -1, 4), std::length_error);
    EXPECT_THROW(Image(PixelDepth::Float, 1 << 21, 1), std::length_error);
    EXPECT_THROW(Image(PixelDepth::Float, 1 << 20, 1 << 20), std::length_error);
    EXPECT_NO_THROW(Image(PixelDepth::Eight, 65536, 1));
    EXPECT_NO_THROW(Image(PixelDepth::Eight, 0, 0));
}

TEST(TestCardTest, IsTheSamePictureInEveryDepth) {
    const Image eight = MakeTestCard(PixelDepth::Eight, 64, 36);
    const Image sixteen = MakeTestCard(PixelDepth::Sixteen, 64, 36);
    const Image floating = MakeTestCard(PixelDepth::Float, 64, 36);
    for (int y = 0; y < 36; ++y) {
        for (int x = 0; x < 64; ++x) {
            const Color f = floating.Pixel(x, y);
            const Color e = eight.Pixel(x, y);
            const Color s = sixteen.Pixel(x, y);
            ASSERT_FLOAT_EQ(1.0f, f.alpha);
            ASSERT_NEAR(f.red, e.red, 0.5f / 255.0f);
            ASSERT_NEAR(f.blue, e.blue, 0.5f / 255.0f);
            ASSERT_NEAR(f.green, s.green, 0.5f / 32768.0f);
        }
    }
}

TEST(TestCardTest, ShowsItsOrientationInTheCorners) {
    const Image card = MakeTestCard(PixelDepth::Float, 90, 50);
    const auto expectColor = [&](int x, int y, float red, float green, float blue) {
        const Color c = card.Pixel(x, y);
        EXPECT_FLOAT_EQ(red, c.red) << x << "," << y;
        EXPECT_FLOAT_EQ(green, c.green) << x << "," << y;
        EXPECT_FLOAT_EQ(blue, c.blue) << x << "," << y;
    };
    expectColor(1, 1, 1.0f, 0.0f, 0.0f);
    expectColor(88, 1, 0.0f, 1.0f, 0.0f);
    expectColor(1, 48, 0.0f, 0.0f, 1.0f);
    expectColor(88, 48, 1.0f, 1.0f, 1.0f);
    // The cross at the centre is black.
    expectColor(45, 25, 0.0f, 0.0f, 0.0f);
    // The top is brighter than the bottom away from the marks.
    const Color top = card.Pixel(22, 8);
    const Color bottom = card.Pixel(22, 42);
    EXPECT_GT(top.red + top.green + top.blue, bottom.red + bottom.green + bottom.blue);
    // Tiny cards are still made.
    EXPECT_EQ(1, MakeTestCard(PixelDepth::Eight, 1, 1).Width());
}

}  // namespace
