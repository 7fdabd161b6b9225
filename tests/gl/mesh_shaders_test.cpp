// The mesh programs, run on a tiny hand-made mesh: one quad over a 4 x 4 target whose
// vertices all carry the same attributes, so every fragment sees exactly those values. The
// input texture and the ramps are chosen so that the sampled colour reveals the texture
// coordinate the shader computed.

#include <glbinding/gl/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "gl/framebuffer.h"
#include "gl/mesh_buffers.h"
#include "gl/render_resources.h"
#include "gl/shader_program.h"
#include "tests/gl/gl_test_support.h"

namespace {

using namespace gl;
using gl_test::ExpectPixel;
using gl_test::Texels;
using Pixel = std::array<float, 4>;

constexpr int kTargetSize = 4;
constexpr int kRampSize = 2048;

// The attributes every corner of the quad gets, in the order of the mesh vertex after its
// position.
struct Fragment {
    float normal[2] = {1, 0};
    float meshUVs[2] = {0.5f, 0.5f};
    float outputUV[2] = {0.5f, 0.5f};
    float screenNoiseUV[2] = {0, 0};
    float uvs1[2] = {0.5f, 0.5f};
    float uvs2[2] = {0.5f, 0.5f};
    float stripIndex = 0;
};
struct TestMeshVertex {
    float position[2];
    Fragment attributes;
};
static_assert(sizeof(TestMeshVertex) == 60, "the mesh vertex is 60 bytes");

// Location, component count and first float of each mesh attribute.
const int kMeshLayout[][3] = {{0, 2, 0}, {1, 2, 2},  {2, 2, 4},  {3, 2, 6},
                              {4, 2, 8}, {6, 2, 10}, {7, 2, 12}, {8, 1, 14}};

// Uniform values of the distortion program; everything neutral unless a test says otherwise.
struct DistortionSettings {
    DistortionSettings() {
        for (const char* name :
             {"multiplier16bit", "distortionNoiseScale", "distortionNoiseScaleX",
              "distortionNoiseScaleY", "distortionAlongRampScale", "distortionAcrossRampScale",
              "opacityAlongRampScale", "opacityAcrossRampScale"}) {
            floats[name] = 1;
        }
        for (const char* name :
             {"distortionNoiseAmplitude", "distortionNoiseOffsetX", "distortionNoiseOffsetY",
              "distortionNoiseEvolution", "distortionNoiseInnerOffset", "distortionNoiseSeed",
              "distortionAlongRampOffset", "distortionAcrossRampOffset", "opacityAlongRampOffset",
              "opacityAcrossRampOffset", "animBlendFactor"}) {
            floats[name] = 0;
        }
        for (const char* name :
             {"distortionNoiseCoordinates", "distortionAlongRampLoop", "distortionAcrossRampLoop",
              "opacityAlongRampLoop", "opacityAcrossRampLoop", "animBlending", "textureNicer"}) {
            ints[name] = 0;
        }
        ints["backgroundBlendMode"] = 1;
        ints["textureFilter"] = 2;
        // Ramp lookups by sampler name: 2048 values, clamped to the edge.
        for (const char* name : {"distortionAlongRampTexture", "distortionAcrossRampTexture",
                                 "acrossRampTexture", "alongRampTexture"}) {
            ramps[name] = std::vector<float>(kRampSize, 1.0f);
        }
    }

    std::map<std::string, float> floats;
    std::map<std::string, int> ints;
    std::map<std::string, std::vector<float>> ramps;
    float factors[2] = {0, 0};

    // Noise read at the offsets and evolution alone, in local coordinates.
    void NoiseAt(float amplitude, float x, float y, float z) {
        ints["distortionNoiseCoordinates"] = 2;
        floats["distortionNoiseScale"] = 0;
        floats["distortionNoiseAmplitude"] = amplitude;
        floats["distortionNoiseOffsetX"] = x;
        floats["distortionNoiseOffsetY"] = y;
        floats["distortionNoiseEvolution"] = z;
    }
};

// Host pixels (A, R, G, B) whose colour tells where they were sampled: opaque, red = u and
// green = v of the texel's centre, so a linear sample gives back the coordinate itself.
Texels CoordinateTexels(int width, int height) {
    Texels texels;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            texels.push_back({1.0f, (x + 0.5f) / width, (y + 0.5f) / height, 0.0f});
        }
    }
    return texels;
}

class MeshShaders : public gl_test::RenderDataTest {
  protected:
    void SetUp() override {
        gl_test::RenderDataTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        AESDK_OpenGL::PrepareRenderResources(*renderData, kTargetSize, kTargetSize, false);
        ReplaceInput(16, 16, CoordinateTexels(16, 16));
    }
    void TearDown() override {
        inputTexture = AESDK_OpenGL::GlTexture();
        gl_test::RenderDataTest::TearDown();
    }

    void ReplaceInput(int width, int height, const Texels& texels) {
        inputTexture = gl_test::MakeTexture(width, height, texels);
    }

    // Draws the quad with the distortion program and returns the RGBA of one fragment.
    Pixel DrawDistortion(const Fragment& fragment, const DistortionSettings& settings) {
        const GLuint program = BeginDraw(ShaderSlot_Distortion);
        for (const auto& entry : settings.floats) {
            glUniform1f(glGetUniformLocation(program, entry.first.c_str()), entry.second);
        }
        for (const auto& entry : settings.ints) {
            glUniform1i(glGetUniformLocation(program, entry.first.c_str()), entry.second);
        }
        glUniform2f(glGetUniformLocation(program, "distortionAlongAcrossFactors"),
                    settings.factors[0], settings.factors[1]);
        // Made before any binding: making a texture binds it to the active unit.
        std::vector<AESDK_OpenGL::GlTexture> rampTextures;
        for (const auto& ramp : settings.ramps) {
            rampTextures.push_back(gl_test::MakeFloatTexture(GL_R32F, GL_RED, GL_LINEAR, kRampSize,
                                                             1, ramp.second.data()));
        }
        AESDK_OpenGL::BindTextureToSampler(program, inputTexture.Name(), "inputTexture", 0);
        int unit = 1;
        for (const auto& ramp : settings.ramps) {
            AESDK_OpenGL::BindTextureToSampler(program, rampTextures[unit - 1].Name(), ramp.first,
                                               unit);
            ++unit;
        }
        return DrawQuadAndRead(fragment);
    }

    Pixel DrawStrips(float stripIndex, const Pixel& color1, const Pixel& color2) {
        const GLuint program = BeginDraw(ShaderSlot_Strips);
        glUniform4fv(glGetUniformLocation(program, "color1"), 1, color1.data());
        glUniform4fv(glGetUniformLocation(program, "color2"), 1, color2.data());
        Fragment fragment;
        fragment.stripIndex = stripIndex;
        return DrawQuadAndRead(fragment);
    }

    AESDK_OpenGL::GlTexture inputTexture;

  private:
    GLuint BeginDraw(int slot) {
        const GLuint program = renderData->programs[slot].Name();
        gl_test::BeginPass(*renderData, program, renderData->passTextures[0].Name(), kTargetSize,
                           kTargetSize);
        return program;
    }

    Pixel DrawQuadAndRead(const Fragment& fragment) {
        const float k = kTargetSize;
        const TestMeshVertex vertices[4] = {
            {{0, 0}, fragment}, {{k, 0}, fragment}, {{0, k}, fragment}, {{k, k}, fragment}};
        const std::uint32_t triangles[6] = {0, 1, 2, 2, 1, 3};
        AESDK_OpenGL::ReserveMeshBuffers(*renderData, 4, sizeof(TestMeshVertex), 6, 4, 0, 4);
        glBindVertexArray(renderData->meshVertexArray.Name());
        glBindBuffer(GL_ARRAY_BUFFER, renderData->meshVertexBuffer.Name());
        glBufferSubData(GL_ARRAY_BUFFER, 0, sizeof(vertices), vertices);
        glBufferSubData(GL_ELEMENT_ARRAY_BUFFER, 0, sizeof(triangles), triangles);
        for (const auto& attribute : kMeshLayout) {
            glEnableVertexAttribArray(attribute[0]);
            glVertexAttribPointer(attribute[0], attribute[1], GL_FLOAT, GL_FALSE,
                                  sizeof(TestMeshVertex),
                                  reinterpret_cast<const void*>(attribute[2] * sizeof(float)));
        }
        glDrawElements(GL_TRIANGLES, 6, GL_UNSIGNED_INT, nullptr);
        glBindVertexArray(0);
        glUseProgram(0);
        return gl_test::ReadPixels(kTargetSize, kTargetSize)[kTargetSize + 1];
    }
};

TEST_F(MeshShaders, ProgramsCompileAndLinkWithTheirAttributeLocations) {
    EXPECT_EQ(renderData->programs[3].Name(), 0u);
    EXPECT_EQ(renderData->programs[5].Name(), 0u);
    // Attributes that a program does not read are inactive and have no location.
    const char* const distortionNames[] = {"Position",      "Normal", "MeshUVs", "OutputUV",
                                           "ScreenNoiseUV", "UVs1",   "UVs2"};
    for (int index = 0; index < 7; ++index) {
        EXPECT_EQ(glGetAttribLocation(renderData->programs[ShaderSlot_Distortion].Name(),
                                      distortionNames[index]),
                  kMeshLayout[index][0]);
    }
    for (const int slot : {2, 4, 6}) {
        EXPECT_EQ(glGetAttribLocation(renderData->programs[slot].Name(), "Position"), 0);
        EXPECT_EQ(glGetAttribLocation(renderData->programs[slot].Name(), "UVs"), 5);
    }
    EXPECT_EQ(glGetAttribLocation(renderData->programs[ShaderSlot_Strips].Name(), "Position"), 0);
    EXPECT_EQ(glGetAttribLocation(renderData->programs[ShaderSlot_Strips].Name(), "StripIndex"), 8);
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

float GradientNoise(const Vec3& p) {
    Vec3 base;
    Vec3 offset;
    Vec3 weight;
    for (int c = 0; c < 3; ++c) {
        base[c] = std::floor(p[c]);
        offset[c] = p[c] - base[c];
        weight[c] = offset[c] * offset[c] * (3.0f - 2.0f * offset[c]);
    }
    const auto corner = [&](float x, float y, float z) {
        const Vec3 gradient = LatticeHash({base[0] + x, base[1] + y, base[2] + z});
        return (offset[0] - x) * gradient[0] + (offset[1] - y) * gradient[1] +
               (offset[2] - z) * gradient[2];
    };
    const auto mix = [](float a, float b, float t) { return a * (1 - t) + b * t; };
    const float y0 = mix(mix(corner(0, 0, 0), corner(1, 0, 0), weight[0]),
                         mix(corner(0, 0, 1), corner(1, 0, 1), weight[0]), weight[2]);
    const float y1 = mix(mix(corner(0, 1, 0), corner(1, 1, 0), weight[0]),
                         mix(corner(0, 1, 1), corner(1, 1, 1), weight[0]), weight[2]);
    return mix(y0, y1, weight[1]) + 0.05f;
}

// The along shift (red) follows the noise, the across shift (green, along the normal turned by
// +90 degrees) the same noise one unit further on its third axis; each setting reads its own
// coordinates, and any other setting makes no noise.
TEST_F(MeshShaders, NoiseFollowsItsFormulasOnAndBetweenLatticePoints) {
    struct NoiseCase {
        int coordinates;  // 1 screen space, 2 local
        float x, y;       // where those coordinates put the fragment
        float scale, scaleX, scaleY, offsetX, offsetY, evolution, innerOffset, seed;
    };
    const NoiseCase cases[] = {
        // On lattice points the noise is its bias, 0.05, whatever the hash.
        {2, 0.5f, 0.5f, 0, 1, 1, 0, 0, 0, 0, 0},
        {2, 0.5f, 0.5f, 0, 1, 1, 3, -2, 5, 0, 0},
        {2, 0.5f, 0.5f, 0, 1, 1, -7, 11, -1, 0, 0},
        // Between them, every term of the noise position at work.
        {2, 0.3f, 0.7f, 2.5f, 1.3f, 0.7f, 0.4f, -1.2f, 0.35f, 0.6f, 7},
        {1, 1.7f, 2.9f, 1.1f, 0.8f, 1.6f, -5.3f, 0.25f, -2.6f, -0.4f, 700},
        {0, 0.3f, 0.7f, 2.5f, 1.3f, 0.7f, 0.4f, -1.2f, 0.35f, 0.6f, 7},
        {3, 0.3f, 0.7f, 2.5f, 1.3f, 0.7f, 0.4f, -1.2f, 0.35f, 0.6f, 7},
    };
    Fragment fragment;
    fragment.normal[0] = 3;  // not unit length: the shader normalises it
    DistortionSettings settings;
    settings.floats["distortionNoiseAmplitude"] = 0.2f;
    for (const NoiseCase& c : cases) {
        SCOPED_TRACE(::testing::Message() << "coordinates " << c.coordinates << " at " << c.x);
        settings.ints["distortionNoiseCoordinates"] = c.coordinates;
        settings.floats["distortionNoiseScale"] = c.scale;
        settings.floats["distortionNoiseScaleX"] = c.scaleX;
        settings.floats["distortionNoiseScaleY"] = c.scaleY;
        settings.floats["distortionNoiseOffsetX"] = c.offsetX;
        settings.floats["distortionNoiseOffsetY"] = c.offsetY;
        settings.floats["distortionNoiseEvolution"] = c.evolution;
        settings.floats["distortionNoiseInnerOffset"] = c.innerOffset;
        settings.floats["distortionNoiseSeed"] = c.seed;
        float* const read = c.coordinates == 1 ? fragment.screenNoiseUV : fragment.meshUVs;
        float* const other = c.coordinates == 1 ? fragment.meshUVs : fragment.screenNoiseUV;
        read[0] = c.x;
        read[1] = c.y;
        other[0] = other[1] = 0.5f;
        const Vec3 p = {c.scaleX * c.scale * (c.x + c.y * c.innerOffset) + c.offsetX,
                        c.scaleY * c.scale * c.y + c.offsetY, c.evolution + c.seed};
        const bool noisy = c.coordinates == 1 || c.coordinates == 2;
        const float along = noisy ? 0.2f * GradientNoise(p) : 0;
        const float across = noisy ? 0.2f * GradientNoise({p[0], p[1], p[2] + 1}) : 0;
        settings.factors[0] = 1;
        settings.factors[1] = 0;
        ExpectPixel(DrawDistortion(fragment, settings), {0.5f + along, 0.5f, 0, 1}, 1e-5f);
        settings.factors[0] = 0;
        settings.factors[1] = 1;
        ExpectPixel(DrawDistortion(fragment, settings), {0.5f, 0.5f + across, 0, 1}, 1e-5f);
    }
}

TEST_F(MeshShaders, LoopingRampParametersWrapIntoTheUnitRange) {
    // Each ramp is the identity; the parameter is the offset alone (scale 0). A looping -0.25
    // reads 0.75 and a looping 1.0 reads 0; unlooped they clamp to 0 and 1.
    struct RampCase {
        const char* sampler;
        const char* prefix;
        bool opacity;
    };
    const RampCase ramps[] = {{"distortionAlongRampTexture", "distortionAlongRamp", false},
                              {"distortionAcrossRampTexture", "distortionAcrossRamp", false},
                              {"alongRampTexture", "opacityAlongRamp", true},
                              {"acrossRampTexture", "opacityAcrossRamp", true}};
    // Offset, loop flag, the parameter the lookup must use.
    const float wraps[][3] = {
        {-0.25f, 1, 0.75f}, {1.0f, 1, 0.0f}, {-0.25f, 0, -0.25f}, {1.0f, 0, 1.0f}, {0.4f, 1, 0.4f}};
    std::vector<float> identity(kRampSize);
    for (int index = 0; index < kRampSize; ++index) {
        identity[index] = static_cast<float>(index) / (kRampSize - 1);
    }
    Fragment fragment;
    fragment.uvs1[0] = 0.25f;
    for (const RampCase& ramp : ramps) {
        for (const auto& wrap : wraps) {
            SCOPED_TRACE(std::string(ramp.sampler) + " offset " + std::to_string(wrap[0]) +
                         " loop " + std::to_string(wrap[1]));
            DistortionSettings settings;
            settings.factors[0] = 0.25f;
            settings.NoiseAt(20, 0, 0, 0);  // noise 1.0 at the lattice point
            settings.ramps[ramp.sampler] = identity;
            settings.floats[std::string(ramp.prefix) + "Offset"] = wrap[0];
            settings.floats[std::string(ramp.prefix) + "Scale"] = 0;
            settings.ints[std::string(ramp.prefix) + "Loop"] = static_cast<int>(wrap[1]);
            const Pixel pixel = DrawDistortion(fragment, settings);
            // A linear lookup of the identity ramp, edges clamped.
            const float value =
                std::fmin(std::fmax((wrap[2] * kRampSize - 0.5f) / (kRampSize - 1), 0.0f), 1.0f);
            if (ramp.opacity) {
                EXPECT_NEAR(pixel[3], value, 1e-5f);
            } else {
                EXPECT_NEAR(pixel[0], 0.25f + 0.25f * value, 1e-5f);
            }
        }
    }
}

TEST_F(MeshShaders, AttenuationCutsOutsideTheUnitSquare) {
    // Mesh u, mesh v, texture u, texture v, expected alpha.
    const float cases[][5] = {{0.0f, 0.5f, 0.5f, 0.5f, 1},   {0.999f, 0.5f, 0.5f, 0.5f, 1},
                              {1.0f, 0.5f, 0.5f, 0.5f, 0},   {-0.001f, 0.5f, 0.5f, 0.5f, 0},
                              {0.5f, 0.999f, 0.5f, 0.5f, 1}, {0.5f, 1.0f, 0.5f, 0.5f, 0},
                              {0.5f, 0.5f, 0.0f, 0.5f, 1},   {0.5f, 0.5f, 1.0f, 0.5f, 0},
                              {0.5f, 0.5f, -0.01f, 0.5f, 0}, {0.5f, 0.5f, 0.5f, 1.0f, 0},
                              {0.5f, 0.5f, 0.5f, 0.999f, 1}};
    DistortionSettings settings;
    settings.ints["textureFilter"] = 1;
    for (const auto& cut : cases) {
        SCOPED_TRACE(std::to_string(cut[0]) + " " + std::to_string(cut[1]) + " " +
                     std::to_string(cut[2]) + " " + std::to_string(cut[3]));
        Fragment fragment;
        fragment.meshUVs[0] = cut[0];
        fragment.meshUVs[1] = cut[1];
        fragment.uvs1[0] = cut[2];
        fragment.uvs1[1] = cut[3];
        EXPECT_EQ(DrawDistortion(fragment, settings)[3], cut[4]);
    }
}

TEST_F(MeshShaders, OutputIsPremultipliedAndCroppedByBackgroundMode) {
    // An opaque (0.8, 0.4, 0.2) layer attenuated to a quarter by the across opacity ramp.
    ReplaceInput(1, 1, {{1.0f, 0.8f, 0.4f, 0.2f}});
    DistortionSettings settings;
    settings.ramps["acrossRampTexture"] = std::vector<float>(kRampSize, 0.25f);
    Fragment fragment;
    ExpectPixel(DrawDistortion(fragment, settings), {0.2f, 0.1f, 0.05f, 0.25f});

    // At the start of the band (along 0) None and Blend crop to nothing, Normal shows the
    // layer's own pixel at the output coordinate.
    ReplaceInput(2, 1, {{1.0f, 0.8f, 0.4f, 0.2f}, {0.5f, 1.0f, 0.0f, 0.0f}});
    fragment.meshUVs[1] = 0.0f;
    fragment.uvs1[0] = 0.25f;
    fragment.outputUV[0] = 0.75f;
    for (const int mode : {1, 3}) {
        settings.ints["backgroundBlendMode"] = mode;
        EXPECT_EQ(DrawDistortion(fragment, settings), (Pixel{0, 0, 0, 0})) << "mode " << mode;
    }
    settings.ints["backgroundBlendMode"] = 2;
    ExpectPixel(DrawDistortion(fragment, settings), {0.5f, 0, 0, 0.5f});
}

TEST_F(MeshShaders, FiltersMixTransparentPixelsByTheOpaqueSide) {
    // Transparent black next to opaque red: half way the linear filter gives red at half
    // alpha (premultiplied 0.5, 0, 0, 0.5), not a darkened red.
    ReplaceInput(2, 1, {{0, 0, 0, 0}, {1, 1, 0, 0}});
    Fragment fragment;
    fragment.uvs1[0] = 0.5f;
    DistortionSettings settings;
    ExpectPixel(DrawDistortion(fragment, settings), {0.5f, 0, 0, 0.5f});

    // Nearest picks one texel.
    settings.ints["textureFilter"] = 1;
    fragment.uvs1[0] = 0.6f;
    EXPECT_NEAR(DrawDistortion(fragment, settings)[0], 1.0f, 1e-6f);

    // An unknown filter samples nothing, so the mesh draws nothing visible.
    settings.ints["textureFilter"] = 3;
    for (const int mode : {1, 3}) {
        settings.ints["backgroundBlendMode"] = mode;
        EXPECT_EQ(DrawDistortion(fragment, settings), (Pixel{0, 0, 0, 0}));
    }

    // The animation blend mixes the second position in the same alpha-aware way.
    settings.ints["textureFilter"] = 1;
    settings.ints["backgroundBlendMode"] = 1;
    settings.ints["animBlending"] = 1;
    settings.floats["animBlendFactor"] = 0.5f;
    fragment.uvs1[0] = 0.25f;
    fragment.uvs2[0] = 0.75f;
    ExpectPixel(DrawDistortion(fragment, settings), {0.5f, 0, 0, 0.5f});
}

TEST_F(MeshShaders, SmoothingWarpUsesTheWidthForBothAxes) {
    // A 16 x 8 coordinate layer read with the linear filter shows the warped coordinate
    // itself. Both axes are warped on a grid of 16 cells, the width, also the vertical one:
    // 0.41 -> (7 + smoothstep(0.06) - 0.5) / 16 and 0.3 -> (5 + smoothstep(0.3) - 0.5) / 16.
    ReplaceInput(16, 8, CoordinateTexels(16, 8));
    DistortionSettings settings;
    settings.ints["textureNicer"] = 1;
    Fragment fragment;
    fragment.uvs1[0] = 0.41f;
    fragment.uvs1[1] = 0.3f;
    const Pixel pixel = DrawDistortion(fragment, settings);
    EXPECT_NEAR(pixel[0], (6.5f + 0.06f * 0.06f * (3 - 2 * 0.06f)) / 16, 1e-5f);
    EXPECT_NEAR(pixel[1], (4.5f + 0.3f * 0.3f * (3 - 2 * 0.3f)) / 16, 1e-5f);
}

TEST_F(MeshShaders, StripsAlternateByTruncatedIndex) {
    const Pixel color1 = {1, 0, 0, 1};
    const Pixel color2 = {0, 0, 1, 0.5f};
    EXPECT_EQ(DrawStrips(0.0f, color1, color2), color1);
    EXPECT_EQ(DrawStrips(2.95f, color1, color2), color2);  // int(3.05) = 3
    EXPECT_EQ(DrawStrips(2.85f, color1, color2), color1);  // int(2.95) = 2
    EXPECT_EQ(DrawStrips(-1.5f, color1, color2), color2);  // int(-1.4) = -1, odd
}

}  // namespace
