#include <cstring>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "render/distortion_uniforms.h"
#include "shell/params/param_index.h"

namespace {

const UniformValue& Find(const std::vector<UniformValue>& values, const char* name) {
    for (const UniformValue& value : values) {
        if (std::strcmp(value.name, name) == 0) {
            return value;
        }
    }
    throw std::runtime_error(name);
}

TEST(DistortionUniforms, ThirtyWithTheirScaledValues) {
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
    std::set<std::string> names;
    for (const UniformValue& value : values) {
        names.insert(value.name);
    }
    EXPECT_EQ(names.size(), 30u);
    EXPECT_EQ(values.size(), 30u);
    const UniformValue& projection = Find(values, "ModelviewProjection");
    EXPECT_EQ(projection.call, UniformCall::Matrix4);
    EXPECT_EQ(projection.floats[0], 2.0f / 640);
    EXPECT_EQ(projection.floats[5], 2.0f / 480);
    EXPECT_EQ(projection.floats[12], -1.0f);
    const UniformValue& factors = Find(values, "distortionAlongAcrossFactors");
    EXPECT_EQ(factors.call, UniformCall::Float2);
    EXPECT_EQ(factors.floats[0], static_cast<float>(10 * 0.01));
    EXPECT_EQ(factors.floats[1], 1.0f);
    const struct {
        const char* name;
        float value;
    } floats[] = {{"multiplier16bit", 65535.0f / 32768.0f},
                  {"distortionNoiseAmplitude", static_cast<float>(0.1)},
                  {"distortionNoiseScale", 5.0f},
                  {"distortionNoiseScaleX", 0.5f},
                  {"distortionNoiseOffsetY", -2.5f},
                  {"distortionNoiseSeed", 700.0f},
                  {"opacityAlongRampScale", 1.0f},
                  {"animBlendFactor", 0.25f}};
    for (const auto& [name, value] : floats) {
        EXPECT_EQ(Find(values, name).floats[0], value) << name;
    }
    const struct {
        const char* name;
        int value;
    } integers[] = {{"distortionNoiseCoordinates", 2}, {"distortionAlongRampLoop", 0},
                    {"distortionAcrossRampLoop", 1},   {"textureNicer", 1},
                    {"backgroundBlendMode", 3},        {"textureFilter", 1},
                    {"animBlending", 1}};
    for (const auto& [name, value] : integers) {
        EXPECT_EQ(Find(values, name).integer, value) << name;
    }

    // The seed is scaled in single precision: a large seed is rounded as a float first.
    settings.distortionNoiseSeed = 2147483647;
    EXPECT_EQ(Find(DistortionUniformValues(settings, 1, 1, 1, 0), "distortionNoiseSeed").floats[0],
              2147483648.0f * 100.0f);
    // A phase of 0.0001 or less does not blend.
    EXPECT_EQ(Find(DistortionUniformValues(settings, 1, 1, 1, 0.0001), "animBlending").integer, 0);
    EXPECT_EQ(Find(DistortionUniformValues(settings, 1, 1, 1, 0.00011), "animBlending").integer, 1);
}

}  // namespace
