// Render resources: what each preparation creates and replaces, the mesh buffers' capacities,
// framebuffer status, sampler binding and program building failures. Object creations are
// counted through glbinding's call callbacks.

#include <glbinding/gl/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <new>
#include <string>

#include "gl/framebuffer.h"
#include "gl/mesh_buffers.h"
#include "gl/render_data_registry.h"
#include "gl/render_resources.h"
#include "gl/shader_program.h"
#include "gl/shader_sources.h"
#include "shell/toolkit/errors.h"
#include "tests/gl/gl_test_support.h"

namespace {

using namespace gl;

class RenderResources : public gl_test::RenderDataTest {};

GLint TextureLevelParameter(GLuint texture, GLenum parameter) {
    GLint value = 0;
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, parameter, &value);
    glBindTexture(GL_TEXTURE_2D, 0);
    return value;
}

// Width and height of a texture's level 0.
std::array<GLint, 2> TextureSize(GLuint texture) {
    return {TextureLevelParameter(texture, GL_TEXTURE_WIDTH),
            TextureLevelParameter(texture, GL_TEXTURE_HEIGHT)};
}

// Expects each named OpenGL call to have been counted that often: name, count, name, ...
void ExpectCalls(const gl_test::GLCallCounter&) {}
template <typename... Rest>
void ExpectCalls(const gl_test::GLCallCounter& counter, const char* name, int count, Rest... rest) {
    EXPECT_EQ(counter.Count(name), count) << name;
    ExpectCalls(counter, rest...);
}

GLint BufferSize(GLuint buffer) {
    GLint size = 0;
    glBindBuffer(GL_COPY_READ_BUFFER, buffer);
    glGetBufferParameteriv(GL_COPY_READ_BUFFER, GL_BUFFER_SIZE, &size);
    glBindBuffer(GL_COPY_READ_BUFFER, 0);
    return size;
}

// The program names of a render data, slot by slot.
std::array<GLuint, kShaderSlotCount> ProgramNames(const ShaderProgramTable& programs) {
    std::array<GLuint, kShaderSlotCount> names = {};
    for (int slot = 0; slot < kShaderSlotCount; ++slot) {
        names[slot] = programs[slot].Name();
    }
    return names;
}

GLint Binding(GLenum binding) {
    GLint name = 0;
    glGetIntegerv(binding, &name);
    return name;
}

// The four corners of the render data's quad, as stored in its buffer.
std::array<QuadVertex, 4> QuadOf(const AESDK_OpenGL::AESDK_OpenGL_EffectRenderData& data) {
    std::array<QuadVertex, 4> quad = {};
    glBindBuffer(GL_ARRAY_BUFFER, data.quadVertexBuffer.Name());
    glGetBufferSubData(GL_ARRAY_BUFFER, 0, sizeof(quad), quad.data());
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    return quad;
}

TEST_F(RenderResources, PreparationCreatesOnceAndReplacesOnlyWhatNoLongerFits) {
    gl_test::GLCallCounter counter;

    // First call: quad, framebuffer, three textures, five programs from ten shaders.
    AESDK_OpenGL::PrepareRenderResources(*renderData, 1920, 1080, false);
    ExpectCalls(counter, "glGenVertexArrays", 1, "glGenBuffers", 1, "glGenFramebuffers", 1,
                "glGenTextures", 3, "glCreateProgram", 5, "glCreateShader", 10);
    EXPECT_EQ(counter.Deletions(), 10);  // the shaders, once linked
    EXPECT_EQ(TextureSize(renderData->mainTexture.Name()), (std::array<GLint, 2>{1920, 1080}));
    EXPECT_EQ(TextureLevelParameter(renderData->mainTexture.Name(), GL_TEXTURE_INTERNAL_FORMAT),
              static_cast<GLint>(GL_RGBA32F));
    EXPECT_EQ(TextureSize(renderData->passTextures[1].Name()), (std::array<GLint, 2>{1920, 1080}));
    std::array<QuadVertex, 4> quad = QuadOf(*renderData);
    EXPECT_EQ(quad[1].x, 1920.0f);
    EXPECT_EQ(quad[2].y, 1080.0f);
    EXPECT_EQ((std::array<float, 5>{quad[3].x, quad[3].y, quad[3].z, quad[3].u, quad[3].v}),
              (std::array<float, 5>{1920, 1080, 0, 1, 1}));

    // Steady state: nothing made, nothing deleted.
    counter.Clear();
    for (int frame = 0; frame < 3; ++frame) {
        AESDK_OpenGL::PrepareRenderResources(*renderData, 1920, 1080, false);
    }
    EXPECT_EQ(counter.Creations(), 0);
    EXPECT_EQ(counter.Deletions(), 0);

    // Supersampling switched on: only the main texture, now twice the size each way.
    const GLuint framebuffer = renderData->framebuffer.Name();
    const GLuint passTexture = renderData->passTextures[0].Name();
    const GLuint quadVertexArray = renderData->quadVertexArray.Name();
    counter.Clear();
    AESDK_OpenGL::PrepareRenderResources(*renderData, 1920, 1080, true);
    EXPECT_EQ(counter.Count("glGenTextures"), 1);
    EXPECT_EQ(counter.Creations(), 1);
    EXPECT_EQ(counter.Deletions(), 1);
    EXPECT_EQ(TextureSize(renderData->mainTexture.Name()), (std::array<GLint, 2>{3840, 2160}));
    EXPECT_EQ(renderData->framebuffer.Name(), framebuffer);
    EXPECT_EQ(renderData->passTextures[0].Name(), passTexture);
    EXPECT_EQ(renderData->quadVertexArray.Name(), quadVertexArray);

    // A new size: framebuffer, textures and quad anew; programs and mesh buffers kept.
    AESDK_OpenGL::ReserveMeshBuffers(*renderData, 100, 60, 300, 4, 200, 4);
    const GLuint meshVertexBuffer = renderData->meshVertexBuffer.Name();
    const std::array<GLuint, kShaderSlotCount> programs = ProgramNames(renderData->programs);
    counter.Clear();
    AESDK_OpenGL::PrepareRenderResources(*renderData, 640, 360, true);
    ExpectCalls(counter, "glGenFramebuffers", 1, "glGenTextures", 3, "glGenVertexArrays", 1,
                "glGenBuffers", 1, "glCreateProgram", 0);
    EXPECT_EQ(counter.Deletions(), 6);  // the same six objects
    EXPECT_EQ(ProgramNames(renderData->programs), programs);
    EXPECT_EQ(renderData->meshVertexBuffer.Name(), meshVertexBuffer);
    EXPECT_EQ(TextureSize(renderData->mainTexture.Name()), (std::array<GLint, 2>{1280, 720}));
    EXPECT_EQ(TextureSize(renderData->passTextures[0].Name()), (std::array<GLint, 2>{640, 360}));
    quad = QuadOf(*renderData);
    EXPECT_EQ((std::array<float, 2>{quad[3].x, quad[3].y}), (std::array<float, 2>{640, 360}));
}

TEST_F(RenderResources, MeshBuffersHoldTwiceTheRequestAndAreReusedWhileItFits) {
    gl_test::GLCallCounter counter;
    AESDK_OpenGL::ReserveMeshBuffers(*renderData, 100, 60, 300, 4, 200, 4);
    EXPECT_EQ(BufferSize(renderData->meshVertexBuffer.Name()), 12000);
    EXPECT_EQ(BufferSize(renderData->meshTriangleIndexBuffer.Name()), 2400);
    EXPECT_EQ(BufferSize(renderData->meshLineIndexBuffer.Name()), 1600);
    EXPECT_EQ((std::array<GLint, 3>{renderData->meshVertexBufferCapacity,
                                    renderData->meshTriangleIndexBufferCapacity,
                                    renderData->meshLineIndexBufferCapacity}),
              (std::array<GLint, 3>{12000, 2400, 1600}));
    ExpectCalls(counter, "glGenVertexArrays", 2, "glGenBuffers", 3);
    // Left with the line vertex array and the shared vertex buffer bound; each vertex array
    // carries its own index buffer.
    EXPECT_EQ(Binding(GL_VERTEX_ARRAY_BINDING),
              static_cast<GLint>(renderData->meshLineVertexArray.Name()));
    EXPECT_EQ(Binding(GL_ARRAY_BUFFER_BINDING),
              static_cast<GLint>(renderData->meshVertexBuffer.Name()));
    EXPECT_EQ(Binding(GL_ELEMENT_ARRAY_BUFFER_BINDING),
              static_cast<GLint>(renderData->meshLineIndexBuffer.Name()));
    glBindVertexArray(renderData->meshVertexArray.Name());
    EXPECT_EQ(Binding(GL_ELEMENT_ARRAY_BUFFER_BINDING),
              static_cast<GLint>(renderData->meshTriangleIndexBuffer.Name()));
    glBindVertexArray(0);

    // Smaller requests reuse everything.
    counter.Clear();
    AESDK_OpenGL::ReserveMeshBuffers(*renderData, 50, 60, 300, 4, 200, 4);
    AESDK_OpenGL::ReserveMeshBuffers(*renderData, 100, 60, 10, 4, 1, 4);
    EXPECT_EQ(counter.Creations(), 0);
    EXPECT_EQ(counter.Deletions(), 0);
    EXPECT_EQ(renderData->meshVertexBufferCapacity, 12000);

    // One vertex more replaces all three buffers, but not the vertex arrays.
    const GLuint triangleVertexArray = renderData->meshVertexArray.Name();
    counter.Clear();
    AESDK_OpenGL::ReserveMeshBuffers(*renderData, 101, 60, 300, 4, 200, 4);
    ExpectCalls(counter, "glGenBuffers", 3, "glDeleteBuffers", 3, "glGenVertexArrays", 0);
    EXPECT_EQ(renderData->meshVertexArray.Name(), triangleVertexArray);
    EXPECT_EQ(renderData->meshVertexBufferCapacity, 12120);
    EXPECT_EQ(renderData->meshTriangleIndexBufferCapacity, 2400);

    // A request whose byte count does not fit 32 bits is refused before anything changes.
    const GLuint vertexBuffer = renderData->meshVertexBuffer.Name();
    counter.Clear();
    EXPECT_THROW(AESDK_OpenGL::ReserveMeshBuffers(*renderData, INT_MAX, 60, 3, 4, 2, 4),
                 std::bad_alloc);
    EXPECT_THROW(AESDK_OpenGL::ReserveMeshBuffers(*renderData, 10, 60, -3, 4, 2, 4),
                 std::bad_alloc);
    EXPECT_EQ(counter.Total(), 0);
    EXPECT_EQ(renderData->meshVertexBuffer.Name(), vertexBuffer);
    EXPECT_EQ(renderData->meshVertexBufferCapacity, 12120);
}

TEST_F(RenderResources, DestructionDeletesEveryObjectInItsOwnContext) {
    AESDK_OpenGL::PrepareRenderResources(*renderData, 16, 16, true);
    AESDK_OpenGL::ReserveMeshBuffers(*renderData, 4, 60, 6, 4, 8, 4);
    AESDK_OpenGL::GlTexture stray = AESDK_OpenGL::GlTexture::Create();
    gl_test::GLCallCounter counter;
    // Out of its own context, even in one of its share group, an owner deletes nothing.
    wglMakeCurrent(s_sharedGLData->deviceContext, s_sharedGLData->renderContext);
    stray = AESDK_OpenGL::GlTexture();
    wglMakeCurrent(nullptr, nullptr);
    renderData.reset();
    EXPECT_EQ(DestroyGLDataOnThread(), PF_Err_NONE);
    ExpectCalls(counter, "glDeleteTextures", 3, "glDeleteProgram", 5, "glDeleteFramebuffers", 1,
                "glDeleteBuffers", 4, "glDeleteVertexArrays", 3);
    EXPECT_EQ(counter.Creations(), 0);
    EXPECT_TRUE(s_renderDataByThread.empty());
    EXPECT_FALSE(s_sharedGLData);
    // Set up again so that the fixture's teardown finds what it expects.
    ASSERT_EQ(CreateSharedGLData(nullptr), PF_Err_NONE);
}

TEST_F(RenderResources, FramebufferStatusIsReportedAsText) {
    AESDK_OpenGL::PrepareRenderResources(*renderData, 8, 8, false);
    AESDK_OpenGL::AttachRenderTexture(*renderData, renderData->passTextures[0].Name());
    EXPECT_EQ(AESDK_OpenGL::FramebufferStatusText(), "OK");

    // A texture without storage is an incomplete attachment.
    const AESDK_OpenGL::GlTexture empty = AESDK_OpenGL::GlTexture::Create();
    glBindTexture(GL_TEXTURE_2D, empty.Name());
    glBindTexture(GL_TEXTURE_2D, 0);
    EXPECT_EQ(
        gl_test::FaultCode([&] { AESDK_OpenGL::AttachRenderTexture(*renderData, empty.Name()); }),
        3);
    EXPECT_EQ(AESDK_OpenGL::FramebufferStatusText(),
              "Framebuffer incomplete, incomplete attachment!");

    // Nothing attached at all.
    EXPECT_EQ(gl_test::FaultCode([&] { AESDK_OpenGL::AttachRenderTexture(*renderData, 0); }), 3);
    EXPECT_EQ(AESDK_OpenGL::FramebufferStatusText(), "Framebuffer incomplete, missing attachment!");

    // The default framebuffer: a window's is complete (WGL), a surfaceless one (EGL) undefined,
    // a status without a text of its own.
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    const bool windowFramebuffer =
        glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    EXPECT_EQ(AESDK_OpenGL::FramebufferStatusText(), windowFramebuffer ? "OK" : "Unknown error!");
}

TEST_F(RenderResources, BindingTheAllOnesTextureFailsBeforeAnyCall) {
    AESDK_OpenGL::PrepareRenderResources(*renderData, 8, 8, false);
    const GLuint program = renderData->programs[ShaderSlot_Copy].Name();
    glUseProgram(program);
    gl_test::GLCallCounter counter;
    EXPECT_EQ(gl_test::FaultCode([&] {
                  AESDK_OpenGL::BindTextureToSampler(program, 0xFFFFFFFFu, "inputTexture", 2);
              }),
              6);
    EXPECT_EQ(counter.Total(), 0);

    // A real texture lands on the unit, and the sampler points there.
    AESDK_OpenGL::BindTextureToSampler(program, renderData->passTextures[1].Name(), "inputTexture",
                                       2);
    EXPECT_EQ(Binding(GL_ACTIVE_TEXTURE), static_cast<GLint>(GL_TEXTURE2));
    EXPECT_EQ(Binding(GL_TEXTURE_BINDING_2D),
              static_cast<GLint>(renderData->passTextures[1].Name()));
    GLint unit = -1;
    glGetUniformiv(program, glGetUniformLocation(program, "inputTexture"), &unit);
    EXPECT_EQ(unit, 2);
    glActiveTexture(GL_TEXTURE0);
    glUseProgram(0);
}

TEST_F(RenderResources, ProgramBuildFailuresLeaveNothingBehind) {
    const char* const broken = "#version 330\nvoid main() { this is not GLSL }\n";
    // The fragment shader reads the quad's coordinate with another type: it compiles, but
    // the program does not link.
    const char* const unlinkable =
        "#version 330\nin vec3 out_uvs;\nout vec4 colourOut;\n"
        "void main() { colourOut = vec4(out_uvs, 1.0); }\n";
    struct BuildCase {
        const char* vertex;
        const char* fragment;
    };
    const BuildCase cases[] = {
        {broken, AESDK_OpenGL::kCopyFragmentShader},
        {AESDK_OpenGL::kQuadVertexShader, broken},
        {AESDK_OpenGL::kQuadVertexShader, unlinkable},
    };
    gl_test::GLCallCounter counter;
    for (const BuildCase& build : cases) {
        EXPECT_EQ(gl_test::FaultCode([&] {
                      AESDK_OpenGL::BuildShaderProgram(build.vertex, build.fragment, {0, 5});
                  }),
                  6);
    }
    EXPECT_EQ(counter.Count("glCreateShader"), counter.Count("glDeleteShader"));
    EXPECT_EQ(counter.Count("glCreateProgram"), counter.Count("glDeleteProgram"));
    EXPECT_EQ(counter.Count("glCreateProgram"), 1);

    // Attribute numbers outside 0 to 8 are skipped.
    counter.Clear();
    const AESDK_OpenGL::GlProgram program = AESDK_OpenGL::BuildShaderProgram(
        AESDK_OpenGL::kQuadVertexShader, AESDK_OpenGL::kCopyFragmentShader, {-1, 5, 9, 0, 42});
    EXPECT_EQ(counter.Count("glBindAttribLocation"), 2);
    EXPECT_EQ(glGetAttribLocation(program.Name(), "UVs"), 5);

    // A failed slot stays 0, so the next preparation builds it.
    AESDK_OpenGL::PrepareRenderResources(*renderData, 8, 8, false);
    renderData->programs[ShaderSlot_Strips] = AESDK_OpenGL::GlProgram();
    counter.Clear();
    AESDK_OpenGL::PrepareRenderResources(*renderData, 8, 8, false);
    EXPECT_EQ(counter.Count("glCreateProgram"), 1);
    EXPECT_NE(renderData->programs[ShaderSlot_Strips].Name(), 0u);
}

}  // namespace
