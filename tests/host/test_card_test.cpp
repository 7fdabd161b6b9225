#include <gtest/gtest.h>

#include "host/test_card.h"

namespace {

using namespace quorvel::host;

TEST(TestCardTest, IsTheSamePictureInEveryDepth) {
    const auto eight = MakeTestCard(Depth::Bits8, 64, 36);
    const auto sixteen = MakeTestCard(Depth::Bits16, 64, 36);
    const auto floating = MakeTestCard(Depth::Float, 64, 36);
    for (A_long y = 0; y < 36; ++y) {
        for (A_long x = 0; x < 64; ++x) {
            const PixelValue f = floating->Pixel(x, y);
            const PixelValue e = eight->Pixel(x, y);
            const PixelValue s = sixteen->Pixel(x, y);
            ASSERT_FLOAT_EQ(1.0f, f[0]);
            ASSERT_EQ(255.0f, e[0]);
            ASSERT_EQ(32768.0f, s[0]);
            for (int c = 1; c < 4; ++c) {
                ASSERT_NEAR(f[c] * 255.0f, e[c], 0.5f) << x << "," << y;
                ASSERT_NEAR(f[c] * 32768.0f, s[c], 0.5f) << x << "," << y;
            }
        }
    }
}

TEST(TestCardTest, ShowsItsOrientationInTheCorners) {
    const auto card = MakeTestCard(Depth::Float, 90, 50);
    const auto expectColor = [&](A_long x, A_long y, float red, float green, float blue) {
        const PixelValue c = card->Pixel(x, y);
        EXPECT_FLOAT_EQ(red, c[1]) << x << "," << y;
        EXPECT_FLOAT_EQ(green, c[2]) << x << "," << y;
        EXPECT_FLOAT_EQ(blue, c[3]) << x << "," << y;
    };
    expectColor(1, 1, 1.0f, 0.0f, 0.0f);
    expectColor(88, 1, 0.0f, 1.0f, 0.0f);
    expectColor(1, 48, 0.0f, 0.0f, 1.0f);
    expectColor(88, 48, 1.0f, 1.0f, 1.0f);
    // The cross at the centre is black.
    expectColor(45, 25, 0.0f, 0.0f, 0.0f);
    // The top is brighter than the bottom away from the marks.
    const PixelValue top = card->Pixel(22, 8);
    const PixelValue bottom = card->Pixel(22, 42);
    EXPECT_GT(top[1] + top[2] + top[3], bottom[1] + bottom[2] + bottom[3]);
    // Tiny cards are still made.
    EXPECT_EQ(1, MakeTestCard(Depth::Bits8, 1, 1)->Width());
}

}  // namespace
