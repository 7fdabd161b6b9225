#pragma once

#include <cstdint>
#include <optional>

#include "gl/binding_lock.h"
#include "gl/common_data.h"
#include "gl/gl_object.h"
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
// OpenGL objects. An empty owner means the object has not been made.
struct AESDK_OpenGL_EffectRenderData : AESDK_OpenGL_EffectCommonData {
    AESDK_OpenGL_EffectRenderData() = default;
    // Makes the render data's own context current, on whatever thread runs it, so that the
    // owners delete their objects; the common data's destructor then deletes the context.
    ~AESDK_OpenGL_EffectRenderData() override;

  private:
    // Taken by the destructor and, declared before the owners, given back only after they
    // have deleted their objects.
    std::optional<BindingChangeScope> teardownScope_;

  public:
    GlFramebuffer framebuffer;
    std::uint16_t width = 0;
    std::uint16_t height = 0;
    bool supersample = false;
    ShaderProgramTable programs;
    GlTexture mainTexture;
    GlTexture passTextures[2];
    GlVertexArray meshVertexArray;
    GlBuffer meshVertexBuffer;
    GlBuffer meshTriangleIndexBuffer;
    GlVertexArray meshLineVertexArray;
    GlBuffer meshLineIndexBuffer;
    std::int32_t meshVertexBufferCapacity = 0;
    std::int32_t meshTriangleIndexBufferCapacity = 0;
    std::int32_t meshLineIndexBufferCapacity = 0;
    GlVertexArray quadVertexArray;
    GlBuffer quadVertexBuffer;
};

}  // namespace AESDK_OpenGL
