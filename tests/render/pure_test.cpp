#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>

#include <glbinding/gl/enum.h>
#include <gtest/gtest.h>

#include "render/animation_phase.h"
#include "render/matrix.h"
#include "render/pixel_format.h"
#include "shell/toolkit/errors.h"

namespace {

uint32_t Bits(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof(bits));
    return bits;
}

TEST(PixelFormatInfo, TheThreeFormatsAndNoOther) {
    const PixelFormatRow& bits8 = GetPixelFormatInfo(PF_PixelFormat_ARGB32);
    EXPECT_EQ(bits8.bytesPerPixel, 4u);
    EXPECT_EQ(bits8.glType, gl::GL_UNSIGNED_BYTE);
    EXPECT_EQ(bits8.multiplier16bit, 1.0f);
    const PixelFormatRow& bits16 = GetPixelFormatInfo(PF_PixelFormat_ARGB64);
    EXPECT_EQ(bits16.bytesPerPixel, 8u);
    EXPECT_EQ(bits16.glType, gl::GL_UNSIGNED_SHORT);
    EXPECT_EQ(Bits(bits16.multiplier16bit), 0x3FFFFF00u);
    // 32768 read as a fraction of 65535 comes back to 1 within float precision.
    EXPECT_NEAR(32768.0f / 65535.0f * bits16.multiplier16bit, 1.0f, 1e-6f);
    const PixelFormatRow& floats = GetPixelFormatInfo(PF_PixelFormat_ARGB128);
    EXPECT_EQ(floats.bytesPerPixel, 16u);
    EXPECT_EQ(floats.glType, gl::GL_FLOAT);
    EXPECT_EQ(floats.multiplier16bit, 1.0f);

    try {
        GetPixelFormatInfo(PF_PixelFormat_INVALID);
        FAIL() << "an unknown format must throw";
    } catch (const ReportedAsOutOfMemory& e) {
        EXPECT_EQ(e.cause, PF_Err_BAD_CALLBACK_PARAM);
    }
}

TEST(Matrix4, ProductsAliasingAndProjection) {
    float translation[16];
    float scale[16];
    TranslationMatrix4(-1, -1, 0, translation);
    ScaleMatrix4(2.0f / 8, 2.0f / 4, 1, scale);
    float projection[16];
    PixelToClipProjection(8, 4, projection);
    const float expected[16] = {0.25f, 0, 0, 0, 0, 0.5f, 0, 0, 0, 0, 1, 0, -1, -1, 0, 1};
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(projection[i], expected[i]) << i;
    }

    // Corners of the pass land on the corners of clip space; z passes through.
    const float corners[3][4] = {{0, 0, 0.5f, 1}, {8, 4, -2, 1}, {4, 2, 0, 1}};
    const float clips[3][4] = {{-1, -1, 0.5f, 1}, {1, 1, -2, 1}, {0, 0, 0, 1}};
    for (int c = 0; c < 3; ++c) {
        float clip[4];
        MultiplyMatrix4Vector(projection, clip, corners[c]);
        for (int r = 0; r < 4; ++r) {
            EXPECT_FLOAT_EQ(clip[r], clips[c][r]) << c << " " << r;
        }
    }

    // Translation after scale does not commute; the product may overwrite either operand.
    float product[16];
    MultiplyMatrix4(translation, product, scale);
    EXPECT_EQ(0, std::memcmp(product, expected, sizeof(product)));
    MultiplyMatrix4(translation, translation, scale);
    EXPECT_EQ(0, std::memcmp(translation, expected, sizeof(product)));
    TranslationMatrix4(-1, -1, 0, translation);
    MultiplyMatrix4(translation, scale, scale);
    EXPECT_EQ(0, std::memcmp(scale, expected, sizeof(product)));
}

TEST(AnimationPhase, WrapsIntoTheUnitInterval) {
    EXPECT_DOUBLE_EQ(WrapPhase(1.25), 0.25);
    EXPECT_DOUBLE_EQ(WrapPhase(-0.25), 0.75);
    EXPECT_EQ(WrapPhase(3.0), 0.0);
    EXPECT_EQ(WrapPhase(-3.0), 0.0);
    EXPECT_EQ(WrapPhase(-1e-20), 0.0);
    EXPECT_EQ(WrapPhase(std::numeric_limits<double>::quiet_NaN()), 0.0);
    EXPECT_EQ(WrapPhase(std::numeric_limits<double>::infinity()), 0.0);
    EXPECT_EQ(WrapPhase(static_cast<double>(FLT_MAX) * FLT_MAX), 0.0);

    // Off with no manual offset: 0 at any time.
    EXPECT_EQ(AnimationPhaseAt(false, 0, 100, 48, 24), 0.0);
    // Manual 50 at speed 100: half way, whatever the time when animate is off.
    EXPECT_DOUBLE_EQ(AnimationPhaseAt(false, 50, 100, 7, 24), 0.5);
    // On: 1.5 s at speed 100 -> 0.5; at speed 50 -> 0.75; at speed -50 -> 0.25.
    EXPECT_DOUBLE_EQ(AnimationPhaseAt(true, 0, 100, 36, 24), 0.5);
    EXPECT_DOUBLE_EQ(AnimationPhaseAt(true, 0, 50, 36, 24), 0.75);
    EXPECT_DOUBLE_EQ(AnimationPhaseAt(true, 0, -50, 36, 24), 0.25);
    // A time scale of 0 counts as no time.
    EXPECT_DOUBLE_EQ(AnimationPhaseAt(true, 25, 100, 36, 0), 0.25);
}

}  // namespace
