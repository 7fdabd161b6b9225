#include "gl/render_resources.h"

#include <glbinding/gl/gl.h>

#include "gl/shader_program.h"

namespace AESDK_OpenGL {

using namespace gl;

namespace {

GlTexture CreateRenderTexture(GLsizei width, GLsizei height) {
    GlTexture texture = GlTexture::Create();
    glBindTexture(GL_TEXTURE_2D, texture.Name());
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
    renderData.quadVertexArray = GlVertexArray::Create();
    glBindVertexArray(renderData.quadVertexArray.Name());
    renderData.quadVertexBuffer = GlBuffer::Create();
    glBindBuffer(GL_ARRAY_BUFFER, renderData.quadVertexBuffer.Name());
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
        renderData.mainTexture = GlTexture();
        if (sizeChanged) {
            renderData.framebuffer = GlFramebuffer();
            renderData.passTextures[0] = GlTexture();
            renderData.passTextures[1] = GlTexture();
            renderData.quadVertexBuffer = GlBuffer();
            renderData.quadVertexArray = GlVertexArray();
        }
    }
    renderData.width = width;
    renderData.height = height;
    renderData.supersample = supersample;

    if (!renderData.quadVertexArray) {
        CreateQuad(renderData);
    }
    if (!renderData.framebuffer) {
        renderData.framebuffer = GlFramebuffer::Create();
        glBindFramebuffer(GL_FRAMEBUFFER, renderData.framebuffer.Name());
    }
    if (!renderData.mainTexture) {
        const int scale = supersample ? 2 : 1;
        renderData.mainTexture = CreateRenderTexture(scale * width, scale * height);
    }
    for (GlTexture& passTexture : renderData.passTextures) {
        if (!passTexture) {
            passTexture = CreateRenderTexture(width, height);
        }
    }
    for (const ShaderProgramSource& source : ShaderProgramSources()) {
        GlProgram& program = renderData.programs[source.slot];
        if (!program) {
            program = BuildShaderProgram(source.vertexSource, source.fragmentSource,
                                         source.attributeLocations);
        }
    }
}

}  // namespace AESDK_OpenGL
