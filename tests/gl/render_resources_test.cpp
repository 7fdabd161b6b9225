// Render resources: what each preparation makes and replaces, the mesh buffers' capacities,
// deletion in the render data's own context, framebuffer status, sampler binding and program
// building failures.

#include <glbinding/gl/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <memory>
#include <new>
#include <tuple>
#include <utility>
#include <vector>

#include "gl/framebuffer.h"
#include "gl/hidden_context.h"
#include "gl/mesh_buffers.h"
#include "gl/render_data_registry.h"
#include "gl/render_resources.h"
#include "gl/shader_program.h"
#include "gl/shader_sources.h"
#include "tests/gl/gl_test_support.h"

namespace {

using namespace gl;
using AESDK_OpenGL::AESDK_OpenGL_EffectRenderData;

using RenderResources = gl_test::RenderDataTest;

GLint Get(GLenum what) {
    GLint value = 0;
    glGetIntegerv(what, &value);
    return value;
}

// Width and height of the main and both pass textures, then the quad's x, y, z, u, v each.
std::vector<float> Prepare(AESDK_OpenGL_EffectRenderData& data, int width, int height,
                           bool supersample) {
    AESDK_OpenGL::PrepareRenderResources(data, width, height, supersample);
    std::vector<float> prepared;
    for (const auto* texture : {&data.mainTexture, &data.passTextures[0], &data.passTextures[1]}) {
        GLint size[2] = {};
        glBindTexture(GL_TEXTURE_2D, texture->Name());
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &size[0]);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &size[1]);
        prepared.insert(prepared.end(), size, size + 2);
    }
    prepared.resize(26);
    glBindBuffer(GL_ARRAY_BUFFER, data.quadVertexBuffer.Name());
    glGetBufferSubData(GL_ARRAY_BUFFER, 0, 80, &prepared[6]);
    return prepared;
}

// The sizes of the three mesh buffers as OpenGL holds them.
std::array<GLint, 3> MeshBufferSizes(const AESDK_OpenGL_EffectRenderData& data) {
    std::array<GLint, 3> sizes = {};
    const GLuint buffers[] = {data.meshVertexBuffer.Name(), data.meshTriangleIndexBuffer.Name(),
                              data.meshLineIndexBuffer.Name()};
    for (int index = 0; index < 3; ++index) {
        glBindBuffer(GL_COPY_READ_BUFFER, buffers[index]);
        glGetBufferParameteriv(GL_COPY_READ_BUFFER, GL_BUFFER_SIZE, &sizes[index]);
    }
    return sizes;
}

TEST_F(RenderResources, PreparationMakesWhatTheFrameNeedsAndReplacesWhatNoLongerFits) {
    EXPECT_EQ(Prepare(*renderData, 1920, 1080, false),
              (std::vector<float>{1920, 1080, 1920, 1080, 1920, 1080,  // the textures
                                  0,    0,    0,    0,    0,    1920, 0,    0, 1, 0,
                                  0,    1080, 0,    0,    1,    1920, 1080, 0, 1, 1}));
    // Supersampling switched on: the main texture, now twice the size each way.
    EXPECT_EQ(Prepare(*renderData, 1920, 1080, true)[1], 2160);
    // A new size, in either direction: textures and quad anew; mesh buffers kept.
    AESDK_OpenGL::ReserveMeshBuffers(*renderData, 100, 60, 300, 4, 200, 4);
    const GLuint meshVertexBuffer = renderData->meshVertexBuffer.Name();
    EXPECT_EQ(Prepare(*renderData, 640, 1080, true)[4], 640);
    const std::vector<float> lower = Prepare(*renderData, 640, 360, true);
    EXPECT_EQ((std::vector<float>(lower.begin(), lower.begin() + 6)),
              (std::vector<float>{1280, 720, 640, 360, 640, 360}));
    EXPECT_EQ((std::array<float, 2>{lower[21], lower[22]}), (std::array<float, 2>{640, 360}));
    EXPECT_EQ(renderData->meshVertexBuffer.Name(), meshVertexBuffer);
    // A program slot left empty by a failed build is built by the next preparation.
    renderData->programs[ShaderSlot_Strips] = AESDK_OpenGL::GlProgram();
    Prepare(*renderData, 640, 360, true);
    EXPECT_NE(renderData->programs[ShaderSlot_Strips].Name(), 0u);
}

TEST_F(RenderResources, MeshBuffersHoldTwiceTheRequestAndAreReusedWhileItFits) {
    AESDK_OpenGL::ReserveMeshBuffers(*renderData, 100, 60, 300, 4, 200, 4);
    EXPECT_EQ(MeshBufferSizes(*renderData), (std::array<GLint, 3>{12000, 2400, 1600}));
    // Smaller requests keep the buffers; one vertex more replaces them.
    const GLuint vertexBuffer = renderData->meshVertexBuffer.Name();
    AESDK_OpenGL::ReserveMeshBuffers(*renderData, 50, 60, 300, 4, 200, 4);
    AESDK_OpenGL::ReserveMeshBuffers(*renderData, 100, 60, 10, 4, 1, 4);
    EXPECT_EQ(renderData->meshVertexBuffer.Name(), vertexBuffer);
    AESDK_OpenGL::ReserveMeshBuffers(*renderData, 101, 60, 300, 4, 200, 4);
    EXPECT_EQ(MeshBufferSizes(*renderData), (std::array<GLint, 3>{12120, 2400, 1600}));

    // A request whose byte count does not fit 32 bits is refused before anything changes.
    EXPECT_THROW(AESDK_OpenGL::ReserveMeshBuffers(*renderData, INT_MAX, 60, 3, 4, 2, 4),
                 std::bad_alloc);
    EXPECT_THROW(AESDK_OpenGL::ReserveMeshBuffers(*renderData, 10, 60, -3, 4, 2, 4),
                 std::bad_alloc);
    EXPECT_EQ(MeshBufferSizes(*renderData), (std::array<GLint, 3>{12120, 2400, 1600}));
    EXPECT_EQ(renderData->meshVertexBufferCapacity, 12120);
}

TEST_F(RenderResources, ObjectsAreDeletedInTheirOwnContextOnly) {
    // A render data of its own, made and prepared while the registry's is current elsewhere.
    auto data = std::make_shared<AESDK_OpenGL_EffectRenderData>();
    AESDK_OpenGL::CreateHiddenContext(*data, s_sharedGLData.get());
    Prepare(*data, 16, 16, true);
    AESDK_OpenGL::ReserveMeshBuffers(*data, 4, 60, 6, 4, 8, 4);
    AESDK_OpenGL::GlTexture stray = AESDK_OpenGL::GlTexture::Create();
    const GLuint names[] = {stray.Name(), data->passTextures[1].Name(),
                            data->meshLineIndexBuffer.Name(), data->programs[0].Name()};
    glBindTexture(GL_TEXTURE_2D, names[0]);
    // Out of its own context, even in one of its share group, an owner deletes nothing; the
    // render data deletes its objects in its own context, wherever it is destroyed.
    AESDK_OpenGL::MakeRenderDataCurrent(*renderData);
    stray = AESDK_OpenGL::GlTexture();
    data.reset();
    AESDK_OpenGL::MakeRenderDataCurrent(*renderData);
    EXPECT_EQ(std::make_tuple(glIsTexture(names[0]), glIsTexture(names[1]), glIsBuffer(names[2]),
                              glIsProgram(names[3])),
              std::make_tuple(GL_TRUE, GL_FALSE, GL_FALSE, GL_FALSE));
    glDeleteTextures(1, &names[0]);
}

TEST_F(RenderResources, AnIncompleteFramebufferIsFaultThreeAndAnInvalidTextureOrProgramSix) {
    AESDK_OpenGL::PrepareRenderResources(*renderData, 8, 8, false);
    AESDK_OpenGL::AttachRenderTexture(*renderData, renderData->passTextures[0].Name());
    EXPECT_EQ(AESDK_OpenGL::FramebufferStatusText(), "OK");
    // A texture without storage is an incomplete attachment; none at all a missing one.
    const AESDK_OpenGL::GlTexture empty = AESDK_OpenGL::GlTexture::Create();
    glBindTexture(GL_TEXTURE_2D, empty.Name());
    const std::pair<GLuint, const char*> attachments[] = {
        {empty.Name(), "Framebuffer incomplete, incomplete attachment!"},
        {0, "Framebuffer incomplete, missing attachment!"}};
    for (const auto& [texture, text] : attachments) {
        EXPECT_EQ(
            gl_test::FaultCode([&] { AESDK_OpenGL::AttachRenderTexture(*renderData, texture); }),
            3);
        EXPECT_EQ(AESDK_OpenGL::FramebufferStatusText(), text);
    }

    const GLuint copy = renderData->programs[ShaderSlot_Copy].Name();
    glUseProgram(copy);
    EXPECT_EQ(gl_test::FaultCode([&] {
                  AESDK_OpenGL::BindTextureToSampler(copy, 0xFFFFFFFFu, "inputTexture", 2);
              }),
              6);
    // A real texture lands on the unit, and the sampler points there.
    AESDK_OpenGL::BindTextureToSampler(copy, renderData->passTextures[1].Name(), "inputTexture", 2);
    GLint unit = -1;
    glGetUniformiv(copy, glGetUniformLocation(copy, "inputTexture"), &unit);
    EXPECT_EQ(std::make_tuple(Get(GL_ACTIVE_TEXTURE), Get(GL_TEXTURE_BINDING_2D), unit),
              std::make_tuple(GLint(GL_TEXTURE2), GLint(renderData->passTextures[1].Name()), 2));
    glActiveTexture(GL_TEXTURE0);

    const char* const broken = "#version 330\nvoid main() { this is not GLSL }\n";
    // The fragment shader reads the quad's coordinate with another type: it compiles, but
    // the program does not link.
    const char* const unlinkable =
        "#version 330\nin vec3 out_uvs;\nout vec4 colourOut;\n"
        "void main() { colourOut = vec4(out_uvs, 1.0); }\n";
    const std::pair<const char*, const char*> builds[] = {
        {broken, AESDK_OpenGL::kCopyFragmentShader},
        {AESDK_OpenGL::kQuadVertexShader, broken},
        {AESDK_OpenGL::kQuadVertexShader, unlinkable},
    };
    const gl_test::GLCallCounter counter;
    for (const auto& [vertex, fragment] : builds) {
        EXPECT_EQ(gl_test::FaultCode([&] {
                      AESDK_OpenGL::BuildShaderProgram(vertex, fragment, {0, 5});
                  }),
                  6);
    }
    // Every shader and program made on the way is deleted again.
    EXPECT_EQ(std::make_pair(counter.Count("glDeleteShader"), counter.Count("glDeleteProgram")),
              std::make_pair(counter.Count("glCreateShader"), counter.Count("glCreateProgram")));
    // Attribute numbers outside 0 to 8 are skipped.
    const AESDK_OpenGL::GlProgram program = AESDK_OpenGL::BuildShaderProgram(
        AESDK_OpenGL::kQuadVertexShader, AESDK_OpenGL::kCopyFragmentShader, {-1, 5, 9, 0, 42});
    EXPECT_EQ(counter.Count("glBindAttribLocation"), 4);  // 2 for the program that did not link
    EXPECT_EQ(glGetAttribLocation(program.Name(), "UVs"), 5);
}

}  // namespace
