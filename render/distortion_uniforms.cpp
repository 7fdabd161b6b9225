#include "render/distortion_uniforms.h"

#include <cstdint>

#include <glbinding/gl/gl.h>

#include "render/matrix.h"

namespace {

// What a row of the table reads from the frame.
enum class Source {
    Projection,       // the pixel-to-clip projection of the frame
    Multiplier16bit,  // the depth's factor
    FactorPair,       // (number x factor, second x factor)
    Number,           // number x factor, in double precision, then narrowed
    Seed,             // f32(integer field) x 100 in single precision
    Integer,          // a 32-bit integer field
    Flag,             // a checkbox field
    AnimBlending,     // 1 when the phase is above 0.0001
    AnimBlendFactor,  // the phase
};

struct UniformRow {
    const char* name;
    UniformCall call;
    Source source;
    double RenderSettings::*number;
    double RenderSettings::*second;
    double factor;
    int32_t RenderSettings::*integer;
    uint8_t RenderSettings::*flag;
};

constexpr UniformRow Special(const char* name, UniformCall call, Source source) {
    return {name, call, source, nullptr, nullptr, 0.0, nullptr, nullptr};
}
constexpr UniformRow Scaled(const char* name, double RenderSettings::*number, double factor) {
    return {name, UniformCall::Float1, Source::Number, number, nullptr, factor, nullptr, nullptr};
}
constexpr UniformRow Integer(const char* name, int32_t RenderSettings::*integer) {
    return {name, UniformCall::Int1, Source::Integer, nullptr, nullptr, 0.0, integer, nullptr};
}
constexpr UniformRow Flag(const char* name, uint8_t RenderSettings::*flag) {
    return {name, UniformCall::Int1, Source::Flag, nullptr, nullptr, 0.0, nullptr, flag};
}

using S = RenderSettings;

// The offset, scale and Loop of a ramp parameter: uniforms named like their fields.
#define QUORVEL_RAMP_UNIFORMS(RAMP)                                                               \
    Scaled(#RAMP "Offset", &S::RAMP##Offset, 0.01), Scaled(#RAMP "Scale", &S::RAMP##Scale, 0.01), \
        Flag(#RAMP "Loop", &S::RAMP##Loop)

const UniformRow kDistortionUniforms[] = {
    Special("ModelviewProjection", UniformCall::Matrix4, Source::Projection),
    Special("multiplier16bit", UniformCall::Float1, Source::Multiplier16bit),
    {"distortionAlongAcrossFactors", UniformCall::Float2, Source::FactorPair,
     &S::distortionNoiseAlongFactor, &S::distortionNoiseAcrossFactor, 0.01, nullptr, nullptr},
    Integer("distortionNoiseCoordinates", &S::distortionNoiseCoordinates),
    Scaled("distortionNoiseAmplitude", &S::distortionNoiseAmplitude, 0.001),
    Scaled("distortionNoiseScale", &S::distortionNoiseScale, 0.05),
    Scaled("distortionNoiseScaleX", &S::distortionNoiseScaleX, 0.01),
    Scaled("distortionNoiseScaleY", &S::distortionNoiseScaleY, 0.01),
    Scaled("distortionNoiseOffsetX", &S::distortionNoiseOffsetX, 0.01),
    Scaled("distortionNoiseOffsetY", &S::distortionNoiseOffsetY, 0.01),
    Scaled("distortionNoiseEvolution", &S::distortionNoiseEvolution, 0.01),
    Scaled("distortionNoiseInnerOffset", &S::distortionNoiseInnerOffset, 0.01),
    {"distortionNoiseSeed", UniformCall::Float1, Source::Seed, nullptr, nullptr, 0.0,
     &S::distortionNoiseSeed, nullptr},
    QUORVEL_RAMP_UNIFORMS(distortionAlongRamp),
    QUORVEL_RAMP_UNIFORMS(distortionAcrossRamp),
    QUORVEL_RAMP_UNIFORMS(opacityAlongRamp),
    QUORVEL_RAMP_UNIFORMS(opacityAcrossRamp),
    Flag("textureNicer", &S::textureNicer),
    Integer("backgroundBlendMode", &S::backgroundBlendMode),
    Integer("textureFilter", &S::textureFilter),
    Special("animBlending", UniformCall::Int1, Source::AnimBlending),
    Special("animBlendFactor", UniformCall::Float1, Source::AnimBlendFactor),
};

#undef QUORVEL_RAMP_UNIFORMS

}  // namespace

std::vector<UniformValue> DistortionUniformValues(const RenderSettings& settings, int width,
                                                  int height, float multiplier16bit, double phase) {
    std::vector<UniformValue> values;
    values.reserve(sizeof(kDistortionUniforms) / sizeof(kDistortionUniforms[0]));
    for (const UniformRow& row : kDistortionUniforms) {
        UniformValue value = {row.name, row.call, {}, 0};
        switch (row.source) {
            case Source::Projection:
                PixelToClipProjection(width, height, value.floats.data());
                break;
            case Source::Multiplier16bit:
                value.floats[0] = multiplier16bit;
                break;
            case Source::FactorPair:
                value.floats[0] = static_cast<float>(settings.*row.number * row.factor);
                value.floats[1] = static_cast<float>(settings.*row.second * row.factor);
                break;
            case Source::Number:
                value.floats[0] = static_cast<float>(settings.*row.number * row.factor);
                break;
            case Source::Seed:
                value.floats[0] = static_cast<float>(settings.*row.integer) * 100.0f;
                break;
            case Source::Integer:
                value.integer = settings.*row.integer;
                break;
            case Source::Flag:
                value.integer = settings.*row.flag;
                break;
            case Source::AnimBlending:
                value.integer = phase > 0.0001 ? 1 : 0;
                break;
            case Source::AnimBlendFactor:
                value.floats[0] = static_cast<float>(phase);
                break;
        }
        values.push_back(value);
    }
    return values;
}

void SetUniforms(unsigned int program, const std::vector<UniformValue>& values) {
    for (const UniformValue& value : values) {
        const gl::GLint location = gl::glGetUniformLocation(program, value.name);
        switch (value.call) {
            case UniformCall::Matrix4:
                gl::glUniformMatrix4fv(location, 1, gl::GL_FALSE, value.floats.data());
                break;
            case UniformCall::Float1:
                gl::glUniform1f(location, value.floats[0]);
                break;
            case UniformCall::Float2:
                gl::glUniform2f(location, value.floats[0], value.floats[1]);
                break;
            case UniformCall::Int1:
                gl::glUniform1i(location, value.integer);
                break;
        }
    }
}
