#pragma once

#include <glbinding/gl/types.h>

#include <cstdint>

#include "gl/common_data.h"
#include "gl/shader_program_table.h"

// One corner of the full-frame quad, in pixels of the prepared size.
struct QuadVertex {
    float x;
    float y;
    float z;
    float u;
    float v;
};

namespace AESDK_OpenGL {

// Everything one render thread draws with: its context (through the common data) and its
// OpenGL objects. A name of 0 means the object has not been made.
struct AESDK_OpenGL_EffectRenderData : AESDK_OpenGL_EffectCommonData {
    AESDK_OpenGL_EffectRenderData() = default;
    // Deletes the objects in the render data's own context, on whatever thread runs it.
    ~AESDK_OpenGL_EffectRenderData() override;

    gl::GLuint framebuffer = 0;
    std::uint16_t width = 0;
    std::uint16_t height = 0;
    bool supersample = false;
    ShaderProgramTable programs = {};
    gl::GLuint mainTexture = 0;
    gl::GLuint passTextures[2] = {0, 0};
    gl::GLuint meshVertexArray = 0;
    gl::GLuint meshVertexBuffer = 0;
    gl::GLuint meshTriangleIndexBuffer = 0;
    gl::GLuint meshLineVertexArray = 0;
    gl::GLuint meshLineIndexBuffer = 0;
    std::int32_t meshVertexBufferCapacity = 0;
    std::int32_t meshTriangleIndexBufferCapacity = 0;
    std::int32_t meshLineIndexBufferCapacity = 0;
    gl::GLuint quadVertexArray = 0;
    gl::GLuint quadVertexBuffer = 0;

  private:
    void DeleteObjects();
};

}  // namespace AESDK_OpenGL
