#pragma once

#include "gl/render_data.h"

namespace AESDK_OpenGL {

// Makes sure the mesh buffers hold twice the requested vertices and indices (sizes in bytes
// per element), replacing all three together when any is too small; they never shrink.
// Returns with the line vertex array bound and the vertex buffer bound to GL_ARRAY_BUFFER.
// A request beyond 2^31 - 1 bytes, or one that the driver cannot allocate, throws
// std::bad_alloc and leaves no buffer behind.
void ReserveMeshBuffers(AESDK_OpenGL_EffectRenderData& renderData, int vertexCount, int vertexSize,
                        int triangleIndexCount, int triangleIndexSize, int lineIndexCount,
                        int lineIndexSize);

}  // namespace AESDK_OpenGL
