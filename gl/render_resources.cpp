#include "gl/render_resources.h"

#include <glbinding/gl/gl.h>

#include "gl/object_names.h"
#include "gl/shader_program.h"

namespace AESDK_OpenGL {

using namespace gl;

namespace {

GLuint CreateRenderTexture(GLsizei width, GLsizei height) {
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA32F, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 nullptr);
    return texture;
}

void CreateQuad(AESDK_OpenGL_EffectRenderData& renderData) {
    const float w = renderData.width;
    const float h = renderData.height;
    // Triangle-strip order, in pixels, with the texture coordinates of each corner.
    const QuadVertex quad[4] = {
        {0.0f, 0.0f, 0.0f, 0.0f, 0.0f},
        {w, 0.0f, 0.0f, 1.0f, 0.0f},
        {0.0f, h, 0.0f, 0.0f, 1.0f},
        {w, h, 0.0f, 1.0f, 1.0f},
    };
    glGenVertexArrays(1, &renderData.quadVertexArray);
    glBindVertexArray(renderData.quadVertexArray);
    glGenBuffers(1, &renderData.quadVertexBuffer);
    glBindBuffer(GL_ARRAY_BUFFER, renderData.quadVertexBuffer);
    glBufferData(GL_ARRAY_BUFFER, sizeof(quad), quad, GL_STATIC_DRAW);
    glBindVertexArray(0);
}

}  // namespace

void PrepareRenderResources(AESDK_OpenGL_EffectRenderData& renderData, std::uint16_t width,
                            std::uint16_t height, bool supersample) {
    const bool sizeChanged = width != renderData.width || height != renderData.height;
    if (sizeChanged || supersample != renderData.supersample) {
        glBindTexture(GL_TEXTURE_2D, 0);
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        DeleteTextureName(renderData.mainTexture);
        if (sizeChanged) {
            DeleteFramebufferName(renderData.framebuffer);
            DeleteTextureName(renderData.passTextures[0]);
            DeleteTextureName(renderData.passTextures[1]);
            DeleteBufferName(renderData.quadVertexBuffer);
            DeleteVertexArrayName(renderData.quadVertexArray);
        }
    }
    renderData.width = width;
    renderData.height = height;
    renderData.supersample = supersample;

    if (renderData.quadVertexArray == 0) {
        CreateQuad(renderData);
    }
    if (renderData.framebuffer == 0) {
        glGenFramebuffers(1, &renderData.framebuffer);
        glBindFramebuffer(GL_FRAMEBUFFER, renderData.framebuffer);
    }
    if (renderData.mainTexture == 0) {
        const int scale = supersample ? 2 : 1;
        renderData.mainTexture = CreateRenderTexture(scale * width, scale * height);
    }
    for (GLuint& passTexture : renderData.passTextures) {
        if (passTexture == 0) {
            passTexture = CreateRenderTexture(width, height);
        }
    }
    for (const ShaderProgramSource& source : ShaderProgramSources()) {
        GLuint& program = renderData.programs[source.slot];
        if (program == 0) {
            program = BuildShaderProgram(source.vertexSource, source.fragmentSource,
                                         source.attributeLocations);
        }
    }
}

}  // namespace AESDK_OpenGL
