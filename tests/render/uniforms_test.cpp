#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "render/distortion_uniforms.h"
#include "shell/params/param_index.h"

namespace {

const char* const kOrder[] = {
    "ModelviewProjection",
    "multiplier16bit",
    "distortionAlongAcrossFactors",
    "distortionNoiseCoordinates",
    "distortionNoiseAmplitude",
    "distortionNoiseScale",
    "distortionNoiseScaleX",
    "distortionNoiseScaleY",
    "distortionNoiseOffsetX",
    "distortionNoiseOffsetY",
    "distortionNoiseEvolution",
    "distortionNoiseInnerOffset",
    "distortionNoiseSeed",
    "distortionAlongRampOffset",
    "distortionAlongRampScale",
    "distortionAlongRampLoop",
    "distortionAcrossRampOffset",
    "distortionAcrossRampScale",
    "distortionAcrossRampLoop",
    "opacityAlongRampOffset",
    "opacityAlongRampScale",
    "opacityAlongRampLoop",
    "opacityAcrossRampOffset",
    "opacityAcrossRampScale",
    "opacityAcrossRampLoop",
    "textureNicer",
    "backgroundBlendMode",
    "textureFilter",
    "animBlending",
    "animBlendFactor",
};

const UniformValue& Find(const std::vector<UniformValue>& values, const char* name) {
    for (const UniformValue& value : values) {
        if (std::strcmp(value.name, name) == 0) {
            return value;
        }
    }
    throw std::runtime_error(name);
}

TEST(DistortionUniforms, ThirtyInOrderWithTheirScaledValues) {
    RenderSettings settings{};
    settings.distortionNoiseAlongFactor = 10;
    settings.distortionNoiseAcrossFactor = 100;
    settings.distortionNoiseCoordinates = NoiseCoordinates_Local;
    settings.distortionNoiseAmplitude = 100;
    settings.distortionNoiseScale = 100;
    settings.distortionNoiseScaleX = 50;
    settings.distortionNoiseOffsetY = -250;
    settings.distortionNoiseSeed = 7;
    settings.distortionAcrossRampLoop = 1;
    settings.opacityAlongRampScale = 100;
    settings.textureNicer = 1;
    settings.backgroundBlendMode = BackgroundMode_Blend;
    settings.textureFilter = TextureFilter_Nearest;

    const std::vector<UniformValue> values =
        DistortionUniformValues(settings, 640, 480, 65535.0f / 32768.0f, 0.25);
    ASSERT_EQ(values.size(), 30u);
    for (size_t i = 0; i < values.size(); ++i) {
        EXPECT_STREQ(values[i].name, kOrder[i]);
    }
    EXPECT_EQ(values[0].call, UniformCall::Matrix4);
    EXPECT_EQ(values[0].floats[0], 2.0f / 640);
    EXPECT_EQ(values[0].floats[5], 2.0f / 480);
    EXPECT_EQ(values[0].floats[12], -1.0f);
    EXPECT_EQ(Find(values, "multiplier16bit").floats[0], 65535.0f / 32768.0f);
    const UniformValue& factors = Find(values, "distortionAlongAcrossFactors");
    EXPECT_EQ(factors.call, UniformCall::Float2);
    EXPECT_EQ(factors.floats[0], static_cast<float>(10 * 0.01));
    EXPECT_EQ(factors.floats[1], 1.0f);
    EXPECT_EQ(Find(values, "distortionNoiseCoordinates").integer, 2);
    EXPECT_EQ(Find(values, "distortionNoiseAmplitude").floats[0], static_cast<float>(0.1));
    EXPECT_EQ(Find(values, "distortionNoiseScale").floats[0], 5.0f);
    EXPECT_EQ(Find(values, "distortionNoiseScaleX").floats[0], 0.5f);
    EXPECT_EQ(Find(values, "distortionNoiseOffsetY").floats[0], -2.5f);
    EXPECT_EQ(Find(values, "distortionNoiseSeed").floats[0], 700.0f);
    EXPECT_EQ(Find(values, "distortionAlongRampLoop").integer, 0);
    EXPECT_EQ(Find(values, "distortionAcrossRampLoop").integer, 1);
    EXPECT_EQ(Find(values, "opacityAlongRampScale").floats[0], 1.0f);
    EXPECT_EQ(Find(values, "textureNicer").integer, 1);
    EXPECT_EQ(Find(values, "backgroundBlendMode").integer, 3);
    EXPECT_EQ(Find(values, "textureFilter").integer, 1);
    EXPECT_EQ(Find(values, "animBlending").integer, 1);
    EXPECT_EQ(Find(values, "animBlendFactor").floats[0], 0.25f);

    // The seed is scaled in single precision: a large seed is rounded as a float first.
    settings.distortionNoiseSeed = 2147483647;
    EXPECT_EQ(Find(DistortionUniformValues(settings, 1, 1, 1, 0), "distortionNoiseSeed").floats[0],
              2147483648.0f * 100.0f);
    // A phase of 0.0001 or less does not blend.
    EXPECT_EQ(Find(DistortionUniformValues(settings, 1, 1, 1, 0.0001), "animBlending").integer, 0);
    EXPECT_EQ(Find(DistortionUniformValues(settings, 1, 1, 1, 0.00011), "animBlending").integer, 1);
}

}  // namespace
