#include "gl/render_data.h"

#include "gl/binding_lock.h"
#include "gl/object_names.h"

namespace AESDK_OpenGL {

AESDK_OpenGL_EffectRenderData::~AESDK_OpenGL_EffectRenderData() {
    // Without a context there are no objects, and no reason to change the caller's context.
    if (renderContext == nullptr) {
        return;
    }
    try {
        // The teardown may meet a context that glbinding does not know yet, and selecting it
        // would then grow glbinding's state: no other thread draws meanwhile.
        const BindingChangeScope change;
        DeleteObjects();
    } catch (...) {
        // Only reached from inside a thread's own OpenGL calls, where the change cannot be
        // granted: the names are left to the deletion of their context.
    }
    // The common data's destructor then deletes the context, and the window when this thread
    // made it.
}

void AESDK_OpenGL_EffectRenderData::DeleteObjects() {
    // The objects belong to this render data's context, whichever thread tears it down. When
    // that context cannot be made current, the names would hit another context: leave them
    // to the context's own deletion.
    const bool ownContextCurrent = wglMakeCurrent(deviceContext, renderContext) != FALSE;
    UseCurrentContext();
    if (!ownContextCurrent) {
        return;
    }
    DeleteTextureName(mainTexture);
    DeleteTextureName(passTextures[0]);
    DeleteTextureName(passTextures[1]);
    for (gl::GLuint& program : programs) {
        DeleteProgramName(program);
    }
    DeleteFramebufferName(framebuffer);
    DeleteBufferName(meshVertexBuffer);
    DeleteBufferName(meshTriangleIndexBuffer);
    DeleteVertexArrayName(meshVertexArray);
    DeleteBufferName(meshLineIndexBuffer);
    DeleteVertexArrayName(meshLineVertexArray);
    DeleteBufferName(quadVertexBuffer);
    DeleteVertexArrayName(quadVertexArray);
}

}  // namespace AESDK_OpenGL
