#include "render/mesh_layout.h"

#include <glbinding/gl/gl.h>

#include "render/mesh_vertex.h"

using namespace gl;

void BindMeshLayout(AESDK_OpenGL::AESDK_OpenGL_EffectRenderData& renderData, bool lines) {
    glBindVertexArray(lines ? renderData.meshLineVertexArray.Name()
                            : renderData.meshVertexArray.Name());
    for (const MeshAttribute& attribute : kMeshAttributes) {
        glEnableVertexAttribArray(attribute.location);
    }
    glBindBuffer(GL_ARRAY_BUFFER, renderData.meshVertexBuffer.Name());
    for (const MeshAttribute& attribute : kMeshAttributes) {
        glVertexAttribPointer(
            attribute.location, attribute.components, GL_FLOAT, GL_FALSE, sizeof(MeshVertex),
            reinterpret_cast<const void*>(static_cast<uintptr_t>(attribute.offset)));
    }
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, lines ? renderData.meshLineIndexBuffer.Name()
                                                : renderData.meshTriangleIndexBuffer.Name());
}

void UnbindMeshLayout() {
    for (const MeshAttribute& attribute : kMeshAttributes) {
        glDisableVertexAttribArray(attribute.location);
    }
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    // The element binding belongs to the vertex array: clear it while that is still bound.
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    glBindVertexArray(0);
}
