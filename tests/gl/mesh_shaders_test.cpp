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
#include "gl/object_names.h"
#include "gl/render_resources.h"
#include "gl/shader_program.h"
#include "tests/gl/gl_test_support.h"

namespace {

using namespace gl;
using gl_test::Texels;

constexpr int kTargetSize = 4;
constexpr int kRampSize = 2048;
// The default layer: its linear samples give back the coordinate.
constexpr int kCoordinateTextureSize = 16;

// Fifteen floats in the order the mesh attributes are laid out.
struct TestMeshVertex {
    float position[2];
    float normal[2];
    float meshUVs[2];
    float outputUV[2];
    float screenNoiseUV[2];
    float uvs1[2];
    float uvs2[2];
    float stripIndex;
};
static_assert(sizeof(TestMeshVertex) == 60, "the mesh vertex is 60 bytes");

struct AttributeLayout {
    GLuint location;
    GLint size;
    size_t offset;
};

const AttributeLayout kMeshLayout[] = {
    {0, 2, offsetof(TestMeshVertex, position)},      {1, 2, offsetof(TestMeshVertex, normal)},
    {2, 2, offsetof(TestMeshVertex, meshUVs)},       {3, 2, offsetof(TestMeshVertex, outputUV)},
    {4, 2, offsetof(TestMeshVertex, screenNoiseUV)}, {6, 2, offsetof(TestMeshVertex, uvs1)},
    {7, 2, offsetof(TestMeshVertex, uvs2)},          {8, 1, offsetof(TestMeshVertex, stripIndex)},
};

// The attributes every corner of the quad gets.
struct Fragment {
    float normal[2] = {1, 0};
    float meshUVs[2] = {0.5f, 0.5f};
    float outputUV[2] = {0.5f, 0.5f};
    float screenNoiseUV[2] = {0, 0};
    float uvs1[2] = {0.5f, 0.5f};
    float uvs2[2] = {0.5f, 0.5f};
    float stripIndex = 0;
};

// Uniform values of the distortion program; everything neutral unless a test says otherwise.
struct DistortionSettings {
    std::map<std::string, float> floats = {
        {"multiplier16bit", 1},
        {"distortionNoiseAmplitude", 0},
        {"distortionNoiseScale", 1},
        {"distortionNoiseScaleX", 1},
        {"distortionNoiseScaleY", 1},
        {"distortionNoiseOffsetX", 0},
        {"distortionNoiseOffsetY", 0},
        {"distortionNoiseEvolution", 0},
        {"distortionNoiseInnerOffset", 0},
        {"distortionNoiseSeed", 0},
        {"distortionAlongRampOffset", 0},
        {"distortionAlongRampScale", 1},
        {"distortionAcrossRampOffset", 0},
        {"distortionAcrossRampScale", 1},
        {"opacityAlongRampOffset", 0},
        {"opacityAlongRampScale", 1},
        {"opacityAcrossRampOffset", 0},
        {"opacityAcrossRampScale", 1},
        {"animBlendFactor", 0},
    };
    std::map<std::string, int> ints = {
        {"distortionNoiseCoordinates", 0},
        {"distortionAlongRampLoop", 0},
        {"distortionAcrossRampLoop", 0},
        {"opacityAlongRampLoop", 0},
        {"opacityAcrossRampLoop", 0},
        {"animBlending", 0},
        {"textureNicer", 0},
        {"backgroundBlendMode", 1},
        {"textureFilter", 2},
    };
    float factors[2] = {0, 0};
    // Ramp lookups by sampler name: 2048 values, clamped to the edge.
    std::map<std::string, std::vector<float>> ramps = {
        {"distortionAlongRampTexture", std::vector<float>(kRampSize, 1.0f)},
        {"distortionAcrossRampTexture", std::vector<float>(kRampSize, 1.0f)},
        {"acrossRampTexture", std::vector<float>(kRampSize, 1.0f)},
        {"alongRampTexture", std::vector<float>(kRampSize, 1.0f)},
    };
};

std::vector<float> IdentityRamp() {
    std::vector<float> ramp(kRampSize);
    for (int index = 0; index < kRampSize; ++index) {
        ramp[index] = static_cast<float>(index) / (kRampSize - 1);
    }
    return ramp;
}

// What a linear lookup of the identity ramp at t gives, edges clamped.
float IdentityRampAt(float t) {
    const float value = (t * kRampSize - 0.5f) / (kRampSize - 1);
    return std::fmin(std::fmax(value, 0.0f), 1.0f);
}

GLuint MakeRampTexture(const std::vector<float>& values) {
    return gl_test::MakeFloatTexture(GL_R32F, GL_RED, GL_LINEAR, static_cast<int>(values.size()), 1,
                                     values.data());
}

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

// The lattice hash and gradient noise, computed here as the shader is meant to.
std::array<float, 3> ReferenceHash33(const std::array<float, 3>& p) {
    const std::uint32_t multipliers[3] = {1597334673u, 3812015801u, 2798796415u};
    std::uint32_t q[3];
    for (int axis = 0; axis < 3; ++axis) {
        q[axis] =
            static_cast<std::uint32_t>(static_cast<std::int32_t>(p[axis])) * multipliers[axis];
    }
    const std::uint32_t mixed = q[0] ^ q[1] ^ q[2];
    std::array<float, 3> result;
    for (int axis = 0; axis < 3; ++axis) {
        result[axis] = -1.0f + 2.0f * static_cast<float>(mixed * multipliers[axis]) *
                                   (1.0f / static_cast<float>(0xFFFFFFFFu));
    }
    return result;
}

float ReferencePerlin(const std::array<float, 3>& p) {
    float corner[2][2][2];
    float w[3];
    float pf[3];
    float pi[3];
    for (int axis = 0; axis < 3; ++axis) {
        pi[axis] = std::floor(p[axis]);
        pf[axis] = p[axis] - pi[axis];
        w[axis] = pf[axis] * pf[axis] * (3.0f - 2.0f * pf[axis]);
    }
    for (int x = 0; x < 2; ++x) {
        for (int y = 0; y < 2; ++y) {
            for (int z = 0; z < 2; ++z) {
                const std::array<float, 3> h = ReferenceHash33({pi[0] + x, pi[1] + y, pi[2] + z});
                corner[x][y][z] = (pf[0] - x) * h[0] + (pf[1] - y) * h[1] + (pf[2] - z) * h[2];
            }
        }
    }
    auto mix = [](float a, float b, float t) { return a * (1 - t) + b * t; };
    const float y0 = mix(mix(corner[0][0][0], corner[1][0][0], w[0]),
                         mix(corner[0][0][1], corner[1][0][1], w[0]), w[2]);
    const float y1 = mix(mix(corner[0][1][0], corner[1][1][0], w[0]),
                         mix(corner[0][1][1], corner[1][1][1], w[0]), w[2]);
    return mix(y0, y1, w[1]) + 0.05f;
}

class MeshShaders : public gl_test::RenderDataTest {
  protected:
    void SetUp() override {
        gl_test::RenderDataTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        AESDK_OpenGL::PrepareRenderResources(*renderData, kTargetSize, kTargetSize, false);
        inputTexture =
            gl_test::MakeTexture(kCoordinateTextureSize, kCoordinateTextureSize,
                                 CoordinateTexels(kCoordinateTextureSize, kCoordinateTextureSize));
    }
    void TearDown() override {
        if (inputTexture != 0) {
            AESDK_OpenGL::DeleteTextureName(inputTexture);
        }
        gl_test::RenderDataTest::TearDown();
    }

    void ReplaceInput(int width, int height, const Texels& texels) {
        AESDK_OpenGL::DeleteTextureName(inputTexture);
        inputTexture = gl_test::MakeTexture(width, height, texels);
    }

    // Draws the quad with the distortion program and returns the RGBA of one fragment.
    std::array<float, 4> DrawDistortion(const Fragment& fragment,
                                        const DistortionSettings& settings) {
        const GLuint program = renderData->programs[ShaderSlot_Distortion];
        BeginDraw(program);
        for (const auto& entry : settings.floats) {
            glUniform1f(glGetUniformLocation(program, entry.first.c_str()), entry.second);
        }
        for (const auto& entry : settings.ints) {
            glUniform1i(glGetUniformLocation(program, entry.first.c_str()), entry.second);
        }
        glUniform2f(glGetUniformLocation(program, "distortionAlongAcrossFactors"),
                    settings.factors[0], settings.factors[1]);
        // Made before any binding: making a texture binds it to the active unit.
        std::vector<GLuint> rampTextures;
        for (const auto& ramp : settings.ramps) {
            rampTextures.push_back(MakeRampTexture(ramp.second));
        }
        AESDK_OpenGL::BindTextureToSampler(program, inputTexture, "inputTexture", 0);
        int unit = 1;
        for (const auto& ramp : settings.ramps) {
            AESDK_OpenGL::BindTextureToSampler(program, rampTextures[unit - 1], ramp.first, unit);
            ++unit;
        }
        const std::array<float, 4> pixel = DrawQuadAndRead(fragment);
        for (GLuint& texture : rampTextures) {
            AESDK_OpenGL::DeleteTextureName(texture);
        }
        return pixel;
    }

    std::array<float, 4> DrawStrips(float stripIndex, const std::array<float, 4>& color1,
                                    const std::array<float, 4>& color2) {
        const GLuint program = renderData->programs[ShaderSlot_Strips];
        BeginDraw(program);
        glUniform4fv(glGetUniformLocation(program, "color1"), 1, color1.data());
        glUniform4fv(glGetUniformLocation(program, "color2"), 1, color2.data());
        Fragment fragment;
        fragment.stripIndex = stripIndex;
        return DrawQuadAndRead(fragment);
    }

    GLuint inputTexture = 0;

  private:
    void BeginDraw(GLuint program) {
        AESDK_OpenGL::AttachRenderTexture(*renderData, renderData->passTextures[0]);
        glViewport(0, 0, kTargetSize, kTargetSize);
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT);
        glDisable(GL_BLEND);
        glUseProgram(program);
        const std::array<float, 16> projection = gl_test::PixelProjection(kTargetSize, kTargetSize);
        glUniformMatrix4fv(glGetUniformLocation(program, "ModelviewProjection"), 1, GL_FALSE,
                           projection.data());
    }

    std::array<float, 4> DrawQuadAndRead(const Fragment& fragment) {
        const float corners[4][2] = {
            {0, 0}, {kTargetSize, 0}, {0, kTargetSize}, {kTargetSize, kTargetSize}};
        TestMeshVertex vertices[4];
        for (int corner = 0; corner < 4; ++corner) {
            TestMeshVertex& vertex = vertices[corner];
            vertex = {{corners[corner][0], corners[corner][1]},
                      {fragment.normal[0], fragment.normal[1]},
                      {fragment.meshUVs[0], fragment.meshUVs[1]},
                      {fragment.outputUV[0], fragment.outputUV[1]},
                      {fragment.screenNoiseUV[0], fragment.screenNoiseUV[1]},
                      {fragment.uvs1[0], fragment.uvs1[1]},
                      {fragment.uvs2[0], fragment.uvs2[1]},
                      fragment.stripIndex};
        }
        const std::uint32_t triangles[6] = {0, 1, 2, 2, 1, 3};
        AESDK_OpenGL::ReserveMeshBuffers(*renderData, 4, sizeof(TestMeshVertex), 6, 4, 0, 4);
        glBindVertexArray(renderData->meshVertexArray);
        glBindBuffer(GL_ARRAY_BUFFER, renderData->meshVertexBuffer);
        glBufferSubData(GL_ARRAY_BUFFER, 0, sizeof(vertices), vertices);
        glBufferSubData(GL_ELEMENT_ARRAY_BUFFER, 0, sizeof(triangles), triangles);
        for (const AttributeLayout& attribute : kMeshLayout) {
            glEnableVertexAttribArray(attribute.location);
            glVertexAttribPointer(attribute.location, attribute.size, GL_FLOAT, GL_FALSE,
                                  sizeof(TestMeshVertex),
                                  reinterpret_cast<const void*>(attribute.offset));
        }
        glDrawElements(GL_TRIANGLES, 6, GL_UNSIGNED_INT, nullptr);
        glBindVertexArray(0);
        glUseProgram(0);
        return gl_test::ReadPixels(kTargetSize, kTargetSize)[kTargetSize + 1];
    }
};

TEST_F(MeshShaders, ProgramsCompileAndLinkWithTheirAttributeLocations) {
    for (const int slot : {0, 1, 2, 4, 6}) {
        EXPECT_NE(renderData->programs[slot], 0u) << "slot " << slot;
    }
    EXPECT_EQ(renderData->programs[3], 0u);
    EXPECT_EQ(renderData->programs[5], 0u);
    // Attributes that a program does not read are inactive and have no location.
    const GLuint distortion = renderData->programs[ShaderSlot_Distortion];
    const char* const distortionNames[] = {"Position",      "Normal", "MeshUVs", "OutputUV",
                                           "ScreenNoiseUV", nullptr,  "UVs1",    "UVs2"};
    for (int location = 0; location < 8; ++location) {
        if (distortionNames[location] != nullptr) {
            EXPECT_EQ(glGetAttribLocation(distortion, distortionNames[location]), location);
        }
    }
    for (const int slot : {2, 4, 6}) {
        EXPECT_EQ(glGetAttribLocation(renderData->programs[slot], "Position"), 0);
        EXPECT_EQ(glGetAttribLocation(renderData->programs[slot], "UVs"), 5);
    }
    EXPECT_EQ(glGetAttribLocation(renderData->programs[ShaderSlot_Strips], "Position"), 0);
    EXPECT_EQ(glGetAttribLocation(renderData->programs[ShaderSlot_Strips], "StripIndex"), 8);
}

TEST_F(MeshShaders, WithoutNoiseTheFragmentShowsTheLayerAtItsTextureCoordinate) {
    Fragment fragment;
    fragment.uvs1[0] = 0.25f;
    fragment.uvs1[1] = 0.75f;
    DistortionSettings settings;
    settings.factors[0] = 1;
    settings.factors[1] = 1;
    // Amplitude 0, then noise coordinates that are neither screen space nor local.
    for (const auto& variant :
         {std::make_pair(0.0f, 2), std::make_pair(1.0f, 0), std::make_pair(1.0f, 3)}) {
        settings.floats["distortionNoiseAmplitude"] = variant.first;
        settings.ints["distortionNoiseCoordinates"] = variant.second;
        const std::array<float, 4> pixel = DrawDistortion(fragment, settings);
        EXPECT_NEAR(pixel[0], 0.25f, 1e-5f);
        EXPECT_NEAR(pixel[1], 0.75f, 1e-5f);
        EXPECT_NEAR(pixel[3], 1.0f, 1e-6f);
    }
}

TEST_F(MeshShaders, NoiseIsPointFiveHundredthsAtEveryLatticePoint) {
    Fragment fragment;
    fragment.uvs1[0] = 0.25f;
    DistortionSettings settings;
    settings.factors[0] = 1;  // along the normal (1, 0): the shift shows in red
    settings.ints["distortionNoiseCoordinates"] = 2;
    settings.floats["distortionNoiseScale"] = 0;  // the noise is read at the offsets alone
    settings.floats["distortionNoiseAmplitude"] = 2;
    const float lattice[][3] = {{0, 0, 0}, {3, -2, 5}, {-7, 11, -1}};
    for (const auto& point : lattice) {
        settings.floats["distortionNoiseOffsetX"] = point[0];
        settings.floats["distortionNoiseOffsetY"] = point[1];
        settings.floats["distortionNoiseEvolution"] = point[2];
        const std::array<float, 4> pixel = DrawDistortion(fragment, settings);
        EXPECT_NEAR(pixel[0], 0.25f + 2 * 0.05f, 1e-6f);
        EXPECT_NEAR(pixel[1], 0.5f, 1e-6f);
    }
}

TEST_F(MeshShaders, NoiseBetweenLatticePointsFollowsTheHash) {
    // At the origin the hash is (-1, -1, -1).
    const std::array<float, 3> origin = ReferenceHash33({0, 0, 0});
    EXPECT_EQ(origin, (std::array<float, 3>{-1, -1, -1}));

    Fragment fragment;
    DistortionSettings settings;
    settings.factors[0] = 1;
    settings.ints["distortionNoiseCoordinates"] = 2;
    settings.floats["distortionNoiseScale"] = 0;
    settings.floats["distortionNoiseAmplitude"] = 0.2f;
    const std::array<float, 3> points[] = {{0.5f, 0, 0}, {0.3f, 0.7f, 0.2f}, {-1.25f, 2.5f, 3.75f}};
    for (const std::array<float, 3>& point : points) {
        settings.floats["distortionNoiseOffsetX"] = point[0];
        settings.floats["distortionNoiseOffsetY"] = point[1];
        settings.floats["distortionNoiseEvolution"] = point[2];
        const std::array<float, 4> pixel = DrawDistortion(fragment, settings);
        EXPECT_NEAR(pixel[0], 0.5f + 0.2f * ReferencePerlin(point), 1e-5f);
    }
    // The same point between the first two lattice corners, taken apart: the origin's hash
    // contributes 0.5 * (0.5 * -1) and the next corner's 0.5 * (-0.5 * h.x).
    const float nextCorner = ReferenceHash33({1, 0, 0})[0];
    EXPECT_NEAR(ReferencePerlin({0.5f, 0, 0}), -0.25f - 0.25f * nextCorner + 0.05f, 1e-6f);
}

TEST_F(MeshShaders, ScreenSpaceAndLocalNoiseReadTheirOwnCoordinates) {
    Fragment fragment;
    fragment.screenNoiseUV[0] = 0.3f;
    fragment.screenNoiseUV[1] = 0.7f;
    fragment.meshUVs[0] = 0.6f;
    fragment.meshUVs[1] = 0.2f;
    DistortionSettings settings;
    settings.factors[0] = 1;
    settings.floats["distortionNoiseAmplitude"] = 0.2f;
    settings.floats["distortionNoiseScale"] = 2;
    settings.floats["distortionNoiseScaleX"] = 1.5f;
    settings.floats["distortionNoiseScaleY"] = 0.5f;
    settings.floats["distortionNoiseInnerOffset"] = 0.25f;
    settings.floats["distortionNoiseOffsetX"] = 0.1f;
    settings.floats["distortionNoiseOffsetY"] = -0.3f;
    settings.floats["distortionNoiseEvolution"] = 1.5f;
    settings.floats["distortionNoiseSeed"] = 0.25f;
    for (const int coordinates : {1, 2}) {
        const float x = coordinates == 1 ? 0.3f : 0.6f;
        const float y = coordinates == 1 ? 0.7f : 0.2f;
        const std::array<float, 3> p = {1.5f * 2 * (x + y * 0.25f) + 0.1f, 0.5f * 2 * y - 0.3f,
                                        1.75f};
        settings.ints["distortionNoiseCoordinates"] = coordinates;
        const std::array<float, 4> pixel = DrawDistortion(fragment, settings);
        EXPECT_NEAR(pixel[0], 0.5f + 0.2f * ReferencePerlin(p), 1e-5f) << coordinates;
    }
}

TEST_F(MeshShaders, AcrossDisplacementTurnsTheNormalAndReadsTheNextNoiseLayer) {
    Fragment fragment;
    fragment.normal[0] = 3;  // not unit length: the shader normalises it
    fragment.normal[1] = 0;
    DistortionSettings settings;
    settings.factors[1] = 1;  // across: the normal turned by +90 degrees, (0, 1)
    settings.ints["distortionNoiseCoordinates"] = 2;
    settings.floats["distortionNoiseScale"] = 0;
    settings.floats["distortionNoiseAmplitude"] = 0.2f;
    settings.floats["distortionNoiseOffsetX"] = 0.3f;
    settings.floats["distortionNoiseOffsetY"] = 0.6f;
    const std::array<float, 4> pixel = DrawDistortion(fragment, settings);
    EXPECT_NEAR(pixel[0], 0.5f, 1e-6f);
    EXPECT_NEAR(pixel[1], 0.5f + 0.2f * ReferencePerlin({0.3f, 0.6f, 1.0f}), 1e-5f);
}

TEST_F(MeshShaders, LoopingRampParametersWrapIntoTheUnitRange) {
    // Each ramp is the identity; the parameter is the offset alone (scale 0). A looping -0.25
    // reads 0.75 and a looping 1.0 reads 0; unlooped they clamp to 0 and 1.
    struct RampCase {
        const char* sampler;
        const char* offset;
        const char* scale;
        const char* loop;
        bool opacity;
    };
    const RampCase ramps[] = {
        {"distortionAlongRampTexture", "distortionAlongRampOffset", "distortionAlongRampScale",
         "distortionAlongRampLoop", false},
        {"distortionAcrossRampTexture", "distortionAcrossRampOffset", "distortionAcrossRampScale",
         "distortionAcrossRampLoop", false},
        {"alongRampTexture", "opacityAlongRampOffset", "opacityAlongRampScale",
         "opacityAlongRampLoop", true},
        {"acrossRampTexture", "opacityAcrossRampOffset", "opacityAcrossRampScale",
         "opacityAcrossRampLoop", true},
    };
    struct WrapCase {
        float offset;
        int loop;
        float parameter;
    };
    const WrapCase wraps[] = {
        {-0.25f, 1, 0.75f}, {1.0f, 1, 0.0f}, {-0.25f, 0, -0.25f}, {1.0f, 0, 1.0f}, {0.4f, 1, 0.4f}};
    Fragment fragment;
    fragment.uvs1[0] = 0.25f;
    for (const RampCase& ramp : ramps) {
        for (const WrapCase& wrap : wraps) {
            SCOPED_TRACE(std::string(ramp.sampler) + " offset " + std::to_string(wrap.offset) +
                         " loop " + std::to_string(wrap.loop));
            DistortionSettings settings;
            settings.factors[0] = 0.25f;
            settings.ints["distortionNoiseCoordinates"] = 2;
            settings.floats["distortionNoiseScale"] = 0;
            settings.floats["distortionNoiseAmplitude"] = 20;  // noise 1.0 at the lattice point
            settings.ramps[ramp.sampler] = IdentityRamp();
            settings.floats[ramp.offset] = wrap.offset;
            settings.floats[ramp.scale] = 0;
            settings.ints[ramp.loop] = wrap.loop;
            const std::array<float, 4> pixel = DrawDistortion(fragment, settings);
            const float value = IdentityRampAt(wrap.parameter);
            if (ramp.opacity) {
                EXPECT_NEAR(pixel[3], value, 1e-5f);
            } else {
                EXPECT_NEAR(pixel[0], 0.25f + 0.25f * value, 1e-5f);
            }
        }
    }
}

TEST_F(MeshShaders, AttenuationCutsOutsideTheUnitSquare) {
    struct CutCase {
        float meshU;
        float meshV;
        float textureU;
        float textureV;
        float alpha;
    };
    const CutCase cases[] = {
        {0.0f, 0.5f, 0.5f, 0.5f, 1},   {0.999f, 0.5f, 0.5f, 0.5f, 1},
        {1.0f, 0.5f, 0.5f, 0.5f, 0},   {-0.001f, 0.5f, 0.5f, 0.5f, 0},
        {0.5f, 0.999f, 0.5f, 0.5f, 1}, {0.5f, 1.0f, 0.5f, 0.5f, 0},
        {0.5f, 0.5f, 0.0f, 0.5f, 1},   {0.5f, 0.5f, 1.0f, 0.5f, 0},
        {0.5f, 0.5f, -0.01f, 0.5f, 0}, {0.5f, 0.5f, 0.5f, 1.0f, 0},
        {0.5f, 0.5f, 0.5f, 0.999f, 1},
    };
    DistortionSettings settings;
    settings.ints["textureFilter"] = 1;
    for (const CutCase& cut : cases) {
        SCOPED_TRACE(std::to_string(cut.meshU) + " " + std::to_string(cut.meshV) + " " +
                     std::to_string(cut.textureU) + " " + std::to_string(cut.textureV));
        Fragment fragment;
        fragment.meshUVs[0] = cut.meshU;
        fragment.meshUVs[1] = cut.meshV;
        fragment.uvs1[0] = cut.textureU;
        fragment.uvs1[1] = cut.textureV;
        EXPECT_EQ(DrawDistortion(fragment, settings)[3], cut.alpha);
    }
}

TEST_F(MeshShaders, OutputIsPremultipliedAndCroppedByBackgroundMode) {
    // An opaque (0.8, 0.4, 0.2) layer attenuated to a quarter by the across opacity ramp.
    ReplaceInput(1, 1, {{1.0f, 0.8f, 0.4f, 0.2f}});
    DistortionSettings settings;
    settings.ramps["acrossRampTexture"] = std::vector<float>(kRampSize, 0.25f);
    Fragment fragment;
    const std::array<float, 4> quartered = DrawDistortion(fragment, settings);
    EXPECT_NEAR(quartered[0], 0.2f, 1e-6f);
    EXPECT_NEAR(quartered[1], 0.1f, 1e-6f);
    EXPECT_NEAR(quartered[2], 0.05f, 1e-6f);
    EXPECT_NEAR(quartered[3], 0.25f, 1e-6f);

    // At the start of the band (along 0) None and Blend crop to nothing, Normal shows the
    // layer's own pixel at the output coordinate.
    ReplaceInput(2, 1, {{1.0f, 0.8f, 0.4f, 0.2f}, {0.5f, 1.0f, 0.0f, 0.0f}});
    fragment.meshUVs[1] = 0.0f;
    fragment.uvs1[0] = 0.25f;
    fragment.outputUV[0] = 0.75f;
    for (const int mode : {1, 3}) {
        settings.ints["backgroundBlendMode"] = mode;
        const std::array<float, 4> cropped = DrawDistortion(fragment, settings);
        EXPECT_EQ(cropped[3], 0.0f) << "mode " << mode;
        EXPECT_EQ(cropped[0], 0.0f) << "mode " << mode;
    }
    settings.ints["backgroundBlendMode"] = 2;
    const std::array<float, 4> background = DrawDistortion(fragment, settings);
    EXPECT_NEAR(background[0], 0.5f, 1e-6f);
    EXPECT_NEAR(background[1], 0.0f, 1e-6f);
    EXPECT_NEAR(background[3], 0.5f, 1e-6f);
}

TEST_F(MeshShaders, FiltersMixTransparentPixelsByTheOpaqueSide) {
    // Transparent black next to opaque red: half way the linear filter gives red at half
    // alpha (premultiplied 0.5, 0, 0, 0.5), not a darkened red.
    ReplaceInput(2, 1, {{0, 0, 0, 0}, {1, 1, 0, 0}});
    Fragment fragment;
    fragment.uvs1[0] = 0.5f;
    DistortionSettings settings;
    const std::array<float, 4> mixed = DrawDistortion(fragment, settings);
    EXPECT_NEAR(mixed[0], 0.5f, 1e-6f);
    EXPECT_NEAR(mixed[1], 0.0f, 1e-6f);
    EXPECT_NEAR(mixed[3], 0.5f, 1e-6f);

    // Nearest picks one texel.
    settings.ints["textureFilter"] = 1;
    fragment.uvs1[0] = 0.6f;
    EXPECT_NEAR(DrawDistortion(fragment, settings)[0], 1.0f, 1e-6f);

    // An unknown filter samples nothing, so the mesh draws nothing visible.
    settings.ints["textureFilter"] = 3;
    for (const int mode : {1, 3}) {
        settings.ints["backgroundBlendMode"] = mode;
        EXPECT_EQ(DrawDistortion(fragment, settings), (std::array<float, 4>{0, 0, 0, 0}));
    }

    // The animation blend mixes the second position in the same alpha-aware way.
    settings.ints["textureFilter"] = 1;
    settings.ints["backgroundBlendMode"] = 1;
    settings.ints["animBlending"] = 1;
    settings.floats["animBlendFactor"] = 0.5f;
    fragment.uvs1[0] = 0.25f;
    fragment.uvs2[0] = 0.75f;
    const std::array<float, 4> blended = DrawDistortion(fragment, settings);
    EXPECT_NEAR(blended[0], 0.5f, 1e-6f);
    EXPECT_NEAR(blended[3], 0.5f, 1e-6f);
}

TEST_F(MeshShaders, SmoothingWarpUsesTheWidthForBothAxes) {
    // A 16 x 8 coordinate layer read with the linear filter shows the warped coordinate
    // itself. Both axes are warped on a grid of 16 cells, the width, also the vertical one.
    ReplaceInput(16, 8, CoordinateTexels(16, 8));
    auto warp = [](float t, float cells) {
        const float p = t * cells + 0.5f;
        const float i = std::floor(p);
        const float f = p - i;
        return (i + f * f * (3.0f - 2.0f * f) - 0.5f) / cells;
    };
    DistortionSettings settings;
    settings.ints["textureNicer"] = 1;
    Fragment fragment;
    fragment.uvs1[0] = 0.41f;
    fragment.uvs1[1] = 0.3f;
    const std::array<float, 4> pixel = DrawDistortion(fragment, settings);
    EXPECT_NEAR(pixel[0], warp(0.41f, 16), 1e-5f);
    EXPECT_NEAR(pixel[1], warp(0.3f, 16), 1e-5f);
    EXPECT_GT(std::fabs(warp(0.3f, 16) - warp(0.3f, 8)), 0.01f);
    EXPECT_GT(std::fabs(warp(0.41f, 16) - 0.41f), 0.002f);

    settings.ints["textureNicer"] = 0;
    const std::array<float, 4> plain = DrawDistortion(fragment, settings);
    EXPECT_NEAR(plain[0], 0.41f, 1e-5f);
    EXPECT_NEAR(plain[1], 0.3f, 1e-5f);
}

TEST_F(MeshShaders, StripsAlternateByTruncatedIndex) {
    const std::array<float, 4> color1 = {1, 0, 0, 1};
    const std::array<float, 4> color2 = {0, 0, 1, 0.5f};
    EXPECT_EQ(DrawStrips(0.0f, color1, color2), color1);
    EXPECT_EQ(DrawStrips(2.95f, color1, color2), color2);  // int(3.05) = 3
    EXPECT_EQ(DrawStrips(2.85f, color1, color2), color1);  // int(2.95) = 2
    EXPECT_EQ(DrawStrips(7.0f, color1, color2), color2);
    EXPECT_EQ(DrawStrips(-1.5f, color1, color2), color2);  // int(-1.4) = -1, odd
}

}  // namespace
