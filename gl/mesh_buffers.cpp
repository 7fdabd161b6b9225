#include "gl/mesh_buffers.h"

#include <glbinding/gl/gl.h>

#include <cstdint>
#include <limits>
#include <new>

namespace AESDK_OpenGL {

using namespace gl;

namespace {

// Twice the request, in bytes; the doubled amount is both what is allocated and what later
// requests are compared with.
std::int32_t DoubledNeed(int count, int size) {
    const std::int64_t need = static_cast<std::int64_t>(count) * size * 2;
    if (need < 0 || need > std::numeric_limits<std::int32_t>::max()) {
        throw std::bad_alloc();
    }
    return static_cast<std::int32_t>(need);
}

void DeleteMeshBuffers(AESDK_OpenGL_EffectRenderData& renderData) {
    renderData.meshVertexBuffer = GlBuffer();
    renderData.meshTriangleIndexBuffer = GlBuffer();
    renderData.meshLineIndexBuffer = GlBuffer();
    renderData.meshVertexBufferCapacity = 0;
    renderData.meshTriangleIndexBufferCapacity = 0;
    renderData.meshLineIndexBufferCapacity = 0;
}

// A new buffer of `capacity` bytes without content, bound to `target`.
GlBuffer CreateBuffer(GLenum target, std::int32_t capacity) {
    GlBuffer buffer = GlBuffer::Create();
    glBindBuffer(target, buffer.Name());
    glBufferData(target, capacity, nullptr, GL_DYNAMIC_DRAW);
    return buffer;
}

// Reads every pending error flag, so that an older one cannot hide an allocation failure.
bool AllocationFailed() {
    bool outOfMemory = false;
    for (GLenum error = glGetError(); error != GL_NO_ERROR; error = glGetError()) {
        outOfMemory = outOfMemory || error == GL_OUT_OF_MEMORY;
    }
    return outOfMemory;
}

}  // namespace

void ReserveMeshBuffers(AESDK_OpenGL_EffectRenderData& renderData, int vertexCount, int vertexSize,
                        int triangleIndexCount, int triangleIndexSize, int lineIndexCount,
                        int lineIndexSize) {
    const std::int32_t vertexNeed = DoubledNeed(vertexCount, vertexSize);
    const std::int32_t triangleNeed = DoubledNeed(triangleIndexCount, triangleIndexSize);
    const std::int32_t lineNeed = DoubledNeed(lineIndexCount, lineIndexSize);

    if (renderData.meshVertexBufferCapacity < vertexNeed ||
        renderData.meshTriangleIndexBufferCapacity < triangleNeed ||
        renderData.meshLineIndexBufferCapacity < lineNeed) {
        DeleteMeshBuffers(renderData);
    }

    if (!renderData.meshVertexArray) {
        renderData.meshVertexArray = GlVertexArray::Create();
    }
    glBindVertexArray(renderData.meshVertexArray.Name());
    if (!renderData.meshVertexBuffer) {
        renderData.meshVertexBufferCapacity = vertexNeed;
        renderData.meshVertexBuffer = CreateBuffer(GL_ARRAY_BUFFER, vertexNeed);
    }
    if (!renderData.meshTriangleIndexBuffer) {
        renderData.meshTriangleIndexBufferCapacity = triangleNeed;
        renderData.meshTriangleIndexBuffer = CreateBuffer(GL_ELEMENT_ARRAY_BUFFER, triangleNeed);
    }

    if (!renderData.meshLineVertexArray) {
        renderData.meshLineVertexArray = GlVertexArray::Create();
    }
    glBindVertexArray(renderData.meshLineVertexArray.Name());
    glBindBuffer(GL_ARRAY_BUFFER, renderData.meshVertexBuffer.Name());
    if (!renderData.meshLineIndexBuffer) {
        renderData.meshLineIndexBufferCapacity = lineNeed;
        renderData.meshLineIndexBuffer = CreateBuffer(GL_ELEMENT_ARRAY_BUFFER, lineNeed);
        // The mesh is written straight into these buffers: one that did not get its storage
        // must not be kept as if it had.
        if (AllocationFailed()) {
            DeleteMeshBuffers(renderData);
            throw std::bad_alloc();
        }
    }
    glBindBuffer(GL_ARRAY_BUFFER, renderData.meshVertexBuffer.Name());
}

}  // namespace AESDK_OpenGL
