// The programs on real pixels: one quad over a 4 x 4 target whose vertices all carry the same
// attributes, so every fragment sees exactly those values. Unless a test says otherwise the
// input is a layer whose colour tells where it was sampled, so the colour reveals the texture
// coordinate the shader computed.

#include <glbinding/gl/gl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <array>
#include <cmath>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "gl/framebuffer.h"
#include "gl/render_resources.h"
#include "gl/shader_program.h"
#include "tests/gl/gl_test_support.h"

namespace {

using namespace gl;
using AESDK_OpenGL::GlTexture;
using ::testing::FloatNear;
using ::testing::Pointwise;
using Pixel = std::array<float, 4>;
using Texels = std::vector<Pixel>;
// Values of attributes and uniforms by name; a ramp sampler's values are its lookup texture's.
using Values = std::map<std::string, std::vector<float>>;

constexpr int kTarget = 4;

// A texture of RGBA floats, made from `format` data, bound to the active unit.
GlTexture MakeTexture(int width, int height, GLenum format, GLenum filter, const float* data) {
    GlTexture texture = GlTexture::Create();
    glBindTexture(GL_TEXTURE_2D, texture.Name());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA32F, width, height, 0, format, GL_FLOAT, data);
    return texture;
}

// Host pixels (A, R, G, B), opaque, red = u and green = v of the texel's centre, so a linear
// sample gives back the coordinate itself.
Texels CoordinateTexels(int width, int height) {
    Texels texels;
    for (int index = 0; index < width * height; ++index) {
        texels.push_back(
            {1.0f, (index % width + 0.5f) / width, (index / width + 0.5f) / height, 0});
    }
    return texels;
}

// Neutral unless given: scales 1, offsets and flags 0, the linear filter, background mode None,
// ramps of all ones, and every attribute at the middle of its range with the normal along x.
std::vector<float> ValueOf(const Values& given, const std::string& name) {
    const auto found = given.find(name);
    if (found != given.end()) {
        std::vector<float> value = found->second;
        value.resize(std::max<size_t>(value.size(), 4));
        return value;
    }
    const bool one = name.find("Scale") != std::string::npos || name == "multiplier16bit" ||
                     name.find("RampTexture") != std::string::npos;
    const float neutral = std::isupper(static_cast<unsigned char>(name[0])) ? 0.5f
                          : name == "backgroundBlendMode"                   ? 1
                          : name == "textureFilter"                         ? 2
                                                                            : one;
    return name == "Normal" ? std::vector<float>{1, 0, 0, 0} : std::vector<float>(4, neutral);
}

// Calls `use` with the name and type of each active uniform or attribute (`kind`) of a program.
template <typename Use>
void ForEachActive(GLuint program, GLenum kind, Use use) {
    GLint count = 0;
    glGetProgramiv(program, kind, &count);
    for (GLint index = 0; index < count; ++index) {
        char name[64] = {};
        GLint size = 0;
        GLenum type = GL_NONE;
        (kind == GL_ACTIVE_UNIFORMS ? glGetActiveUniform : glGetActiveAttrib)(
            program, index, sizeof(name), nullptr, &size, &type, name);
        use(std::string(name), type);
    }
}

class Shaders : public gl_test::RenderDataTest {
  protected:
    // Draws the full-frame quad with the program of `slot`, giving every active uniform and
    // attribute of the linked program its value from `given`, reading `input` (a layer `width`
    // texels wide); returns one fragment. Each attribute but the corners' is one constant.
    Pixel Draw(int slot, const Values& given, const Texels& input = CoordinateTexels(16, 16),
               int width = 16) {
        AESDK_OpenGL::PrepareRenderResources(*renderData, kTarget, kTarget, false);
        const GLuint program = renderData->programs[slot].Name();
        AESDK_OpenGL::AttachRenderTexture(*renderData, renderData->passTextures[0].Name());
        glViewport(0, 0, kTarget, kTarget);
        glUseProgram(program);
        const float pixel = 2.0f / kTarget;
        const float projection[16] = {pixel, 0, 0, 0, 0, pixel, 0, 0, 0, 0, 1, 0, -1, -1, 0, 1};
        std::vector<GlTexture> textures;
        ForEachActive(program, GL_ACTIVE_UNIFORMS, [&](const std::string& name, GLenum type) {
            const GLint location = glGetUniformLocation(program, name.c_str());
            const std::vector<float> value = ValueOf(given, name);
            if (type == GL_FLOAT || type == GL_FLOAT_VEC2 || type == GL_FLOAT_VEC4) {
                (type == GL_FLOAT        ? glUniform1fv
                 : type == GL_FLOAT_VEC2 ? glUniform2fv
                                         : glUniform4fv)(location, 1, value.data());
            } else if (type == GL_INT) {
                glUniform1i(location, static_cast<int>(value[0]));
            } else if (type == GL_FLOAT_MAT4) {
                glUniformMatrix4fv(location, 1, GL_FALSE, projection);
            } else if (type == GL_SAMPLER_2D) {
                // The layer, nearest; a ramp's lookup, linear, its values in red.
                const auto unit = static_cast<unsigned int>(textures.size());
                glActiveTexture(static_cast<GLenum>(static_cast<unsigned int>(GL_TEXTURE0) + unit));
                const int size = given.count(name) ? static_cast<int>(given.at(name).size()) : 1;
                textures.push_back(name != "inputTexture"
                                       ? MakeTexture(size, 1, GL_RED, GL_LINEAR, value.data())
                                       : MakeTexture(width, static_cast<int>(input.size()) / width,
                                                     GL_RGBA, GL_NEAREST, input[0].data()));
                glUniform1i(location, static_cast<GLint>(unit));
            }
        });
        ForEachActive(program, GL_ACTIVE_ATTRIBUTES, [&](const std::string& name, GLenum) {
            glVertexAttrib4fv(glGetAttribLocation(program, name.c_str()),
                              ValueOf(given, name).data());
        });
        glBindVertexArray(renderData->quadVertexArray.Name());
        glBindBuffer(GL_ARRAY_BUFFER, renderData->quadVertexBuffer.Name());
        const GLuint position = glGetAttribLocation(program, "Position");
        glEnableVertexAttribArray(position);
        glVertexAttribPointer(position, 2, GL_FLOAT, GL_FALSE, 5 * sizeof(float), nullptr);
        glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
        glBindVertexArray(0);
        Pixel fragment = {};
        glReadPixels(1, 1, 1, 1, GL_RGBA, GL_FLOAT, fragment.data());
        return fragment;
    }
};

TEST_F(Shaders, ConversionsReorderPremultiplyCopyAndRoundTrip) {
    // Host pixels, stored A, R, G, B, and their premultiplied R, G, B, A.
    const std::pair<Pixel, Pixel> conversions[] = {
        {{0.25f, 0.2f, 0.4f, 0.8f}, {0.05f, 0.1f, 0.2f, 0.25f}},
        {{0.01f, 0.3f, 0.6f, 0.9f}, {0.003f, 0.006f, 0.009f, 0.01f}},
        {{0.009f, 0.9f, 0.8f, 0.7f}, {0.0081f, 0.0072f, 0.0063f, 0.009f}},
    };
    for (const auto& [host, premultiplied] : conversions) {
        const Pixel converted = Draw(ShaderSlot_InputConversion, {}, {host}, 1);
        EXPECT_THAT(converted, Pointwise(FloatNear(1e-6f), premultiplied));
        // Back in the host's order; below alpha 0.01 a pixel becomes transparent black.
        EXPECT_THAT(Draw(ShaderSlot_OutputConversion, {}, {converted}, 1),
                    Pointwise(FloatNear(1e-5f), host[0] >= 0.01f ? host : Pixel{}));
    }
    const Pixel unusual = {-1, 0.123456f, 2, 1e6f};
    EXPECT_EQ(Draw(ShaderSlot_Copy, {}, {unusual}, 1), unusual);

    // A 16-bit channel of 32768 arrives as 32768/65535 of full scale and goes back as that.
    const float full16 = 32768.0f / 65535.0f;
    const Values sixteenBit = {{"multiplier16bit", {65535.0f / 32768.0f}}};
    EXPECT_THAT(Draw(ShaderSlot_InputConversion, sixteenBit, {{full16, full16, 0, full16}}, 1),
                Pointwise(FloatNear(1e-6f), Pixel{1, 0, 1, 1}));
    EXPECT_THAT(Draw(ShaderSlot_OutputConversion, sixteenBit, {{1, 1, 1, 1}}, 1),
                Pointwise(FloatNear(1e-7f), Pixel{full16, full16, full16, full16}));
}

// The noise of the main effect shader written out again for the processor, formula by formula:
// each corner's lattice hash as a gradient, dotted with the point's offset, smoothly weighted.
using Vec3 = std::array<float, 3>;

Vec3 LatticeHash(Vec3 p) {
    const std::uint32_t multipliers[3] = {1597334673u, 3812015801u, 2798796415u};
    std::uint32_t q[3];
    for (int c = 0; c < 3; ++c) {
        q[c] = static_cast<std::uint32_t>(static_cast<std::int32_t>(p[c])) * multipliers[c];
    }
    for (int c = 0; c < 3; ++c) {
        p[c] = -1.0f +
               2.0f * static_cast<float>((q[0] ^ q[1] ^ q[2]) * multipliers[c]) / 4294967296.0f;
    }
    return p;
}

// The trilinear mix written as the sum over the eight corners of each corner's weight times
// its gradient dotted with the point's offset from it.
float GradientNoise(const Vec3& p) {
    float noise = 0.05f;
    for (int corner = 0; corner < 8; ++corner) {
        Vec3 lattice;
        float weight = 1;
        for (int c = 0; c < 3; ++c) {
            const float side = static_cast<float>((corner >> c) & 1);
            const float offset = p[c] - std::floor(p[c]);
            const float smooth = offset * offset * (3.0f - 2.0f * offset);
            lattice[c] = std::floor(p[c]) + side;
            weight *= side != 0 ? smooth : 1 - smooth;
        }
        const Vec3 gradient = LatticeHash(lattice);
        for (int c = 0; c < 3; ++c) {
            noise += weight * (p[c] - lattice[c]) * gradient[c];
        }
    }
    return noise;
}

// The along shift (red) follows the noise, the across shift (green, along the normal turned by
// +90 degrees) the same noise one unit further on its third axis; each setting reads its own
// coordinates, and any other setting makes no noise.
TEST_F(Shaders, NoiseFollowsItsFormulasOnAndBetweenLatticePoints) {
    // Noise coordinates (1 screen space, 2 local), where they put the fragment, then the values
    // of the uniforms named below.
    const float cases[][11] = {
        // On lattice points the noise is its bias, 0.05, whatever the hash.
        {2, 0.5f, 0.5f, 0, 1, 1, -7, 11, -1, 0, 0},
        // Between them, every term of the noise position at work.
        {2, 0.3f, 0.7f, 2.5f, 1.3f, 0.7f, 0.4f, -1.2f, 0.35f, 0.6f, 7},
        {1, 1.7f, 2.9f, 1.1f, 0.8f, 1.6f, -5.3f, 0.25f, -2.6f, -0.4f, 700},
        {0, 0.3f, 0.7f, 2.5f, 1.3f, 0.7f, 0.4f, -1.2f, 0.35f, 0.6f, 7},
        {3, 0.3f, 0.7f, 2.5f, 1.3f, 0.7f, 0.4f, -1.2f, 0.35f, 0.6f, 7},
    };
    const char* const names[] = {"Scale",   "ScaleX",    "ScaleY",      "OffsetX",
                                 "OffsetY", "Evolution", "InnerOffset", "Seed"};
    for (const auto& c : cases) {
        const auto& [coordinates, x, y, scale, scaleX, scaleY, offsetX, offsetY, evolution,
                     innerOffset, seed] = c;
        SCOPED_TRACE(::testing::Message() << "coordinates " << coordinates << " at " << x);
        Values given = {{coordinates == 1 ? "ScreenNoiseUV" : "MeshUVs", {x, y}},
                        {"Normal", {3, 0}},  // not unit length: the shader normalises it
                        {"distortionNoiseAmplitude", {0.2f}},
                        {"distortionNoiseCoordinates", {coordinates}}};
        for (int name = 0; name < 8; ++name) {
            given[std::string("distortionNoise") + names[name]] = {c[3 + name]};
        }
        const Vec3 p = {scaleX * scale * (x + y * innerOffset) + offsetX,
                        scaleY * scale * y + offsetY, evolution + seed};
        const bool noisy = coordinates == 1 || coordinates == 2;
        const float along = noisy ? 0.2f * GradientNoise(p) : 0;
        const float across = noisy ? 0.2f * GradientNoise({p[0], p[1], p[2] + 1}) : 0;
        // Factors apart, so that each shift shows which factor scaled it.
        given["distortionAlongAcrossFactors"] = {1, 0.5f};
        EXPECT_THAT(Draw(ShaderSlot_Distortion, given),
                    Pointwise(FloatNear(1e-5f), Pixel{0.5f + along, 0.5f + across / 2, 0, 1}));
    }
}

// Ramp wrapping, the cuts at the edges, the layer's sampling, its composition with the
// background, and the strips, case by case.
TEST_F(Shaders, RampsCutsSamplingBackgroundAndStripsGiveTheirPixels) {
    int number = 0;
    const auto expect = [&](int slot, const Values& given, const Texels& input, Pixel expected,
                            int width = 2) {
        EXPECT_THAT(Draw(slot, given, input, width), Pointwise(FloatNear(1e-5f), expected))
            << "case " << number++;
    };
    const auto with = [](Values values, const std::string& name, float value) {
        values[name] = {value};
        return values;
    };
    const Texels red = {{1, 1, 0, 0}, {1, 1, 0, 0}};
    const Texels orange = {{1.0f, 0.8f, 0.4f, 0.2f}, {0.5f, 1.0f, 0.0f, 0.0f}};
    const Texels clearBesideRed = {{0, 0, 0, 0}, {1, 1, 0, 0}};
    const Pixel none = {};
    // At the start of the band (along 0) None and Blend crop to nothing, Normal shows the
    // layer's own pixel at the output coordinate.
    const Values bandStart = {
        {"MeshUVs", {0.5f, 0}}, {"UVs1", {0.25f, 0.5f}}, {"OutputUV", {0.75f, 0.5f}}};
    expect(ShaderSlot_Distortion, bandStart, orange, none);
    expect(ShaderSlot_Distortion, with(bandStart, "backgroundBlendMode", 3), orange, none);
    expect(ShaderSlot_Distortion, with(bandStart, "backgroundBlendMode", 2), orange,
           {0.5f, 0, 0, 0.5f});
    // Half way the linear filter gives red at half alpha, not a darkened red; nearest picks one
    // texel, and an unknown filter none, so the mesh draws nothing visible.
    const Values nearest = {{"textureFilter", {1}}, {"UVs1", {0.6f, 0.5f}}};
    expect(ShaderSlot_Distortion, {}, clearBesideRed, {0.5f, 0, 0, 0.5f});
    expect(ShaderSlot_Distortion, nearest, clearBesideRed, {1, 0, 0, 1});
    expect(ShaderSlot_Distortion, with(nearest, "textureFilter", 3), clearBesideRed, none);
    // Both axes warped on a grid of 16 cells, the width, also the vertical one: 0.41 ->
    // (7 + smoothstep(0.06) - 0.5) / 16 and 0.3 -> (5 + smoothstep(0.3) - 0.5) / 16.
    const Values warp = {{"textureNicer", {1}}, {"UVs1", {0.41f, 0.3f}}};
    expect(ShaderSlot_Distortion, warp, CoordinateTexels(16, 8),
           {(6.5f + 0.06f * 0.06f * (3 - 2 * 0.06f)) / 16,
            (4.5f + 0.3f * 0.3f * (3 - 2 * 0.3f)) / 16, 0, 1},
           16);
    // int(2.95 + 0.1) = 3, odd: the second colour.
    const Values strip = {
        {"StripIndex", {2.95f}}, {"color1", {1, 0, 0, 1}}, {"color2", {0, 0, 1, 0.5f}}};
    expect(ShaderSlot_Strips, strip, red, {0, 0, 1, 0.5f});

    // Mesh u and v, texture u and v: the layer is cut where either leaves [0, 1).
    const float cuts[][4] = {{0, 0.5f, 0.5f, 0.5f},       {1, 0.5f, 0.5f, 0.5f},
                             {-0.001f, 0.5f, 0.5f, 0.5f}, {0.5f, 0.999f, 0.5f, 0.5f},
                             {0.5f, 1, 0.5f, 0.5f},       {0.5f, 0.5f, 0, 0.5f},
                             {0.5f, 0.5f, -0.01f, 0.5f},  {0.5f, 0.5f, 1, 0.5f},
                             {0.5f, 0.5f, 0.5f, 0.999f},  {0.5f, 0.5f, 0.5f, 1}};
    for (const auto& cut : cuts) {
        const bool inside =
            *std::min_element(cut, cut + 4) >= 0 && *std::max_element(cut, cut + 4) < 1;
        const Values at = {{"MeshUVs", {cut[0], cut[1]}}, {"UVs1", {cut[2], cut[3]}}};
        expect(ShaderSlot_Distortion, at, red, inside ? Pixel{1, 0, 0, 1} : none);
    }
    // Each ramp is read at its offset alone (scale 0) through a linear lookup of 0, 1/3, 2/3, 1:
    // looping, -0.25 reads 0.75 and 1.0 reads 0; unlooped the lookup's edges clamp. An opacity
    // ramp's value is the alpha; a distortion ramp's moves the layer by a quarter of it (the
    // noise is 1.0 at the lattice point it is read at), off its edge from 0.9 unless about 0.
    const char* const ramps[][2] = {{"distortionAlongRamp", "distortionAlongRampTexture"},
                                    {"distortionAcrossRamp", "distortionAcrossRampTexture"},
                                    {"opacityAlongRamp", "alongRampTexture"},
                                    {"opacityAcrossRamp", "acrossRampTexture"}};
    // Offset, loop flag, the parameter the lookup must use.
    const float wraps[][3] = {{-0.25f, 1, 0.75f}, {1, 1, 0}, {-0.25f, 0, -0.25f}, {1, 0, 1}};
    for (const auto& [ramp, sampler] : ramps) {
        const std::string prefix = ramp;
        const bool opacity = prefix.rfind("opacity", 0) == 0;
        Values given = {{"UVs1", {0.9f, 0.5f}},
                        {"distortionAlongAcrossFactors", {opacity ? 0 : 0.25f, 0}},
                        {"distortionNoiseCoordinates", {2}},
                        {"distortionNoiseScale", {0}},
                        {"distortionNoiseAmplitude", {20}},
                        {sampler, {0, 1 / 3.0f, 2 / 3.0f, 1}},
                        {prefix + "Scale", {0}}};
        for (const auto& [offset, loop, parameter] : wraps) {
            given[prefix + "Offset"] = {offset};
            given[prefix + "Loop"] = {loop};
            const float value = std::clamp((parameter * 4 - 0.5f) / 3, 0.0f, 1.0f);
            const Pixel moved = value < 0.1f ? Pixel{1, 0, 0, 1} : none;
            expect(ShaderSlot_Distortion, given, red, opacity ? Pixel{value, 0, 0, value} : moved);
        }
    }
}

}  // namespace
