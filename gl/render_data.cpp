#include "gl/render_data.h"

#include <glbinding/Binding.h>

#include "gl/object_names.h"

namespace AESDK_OpenGL {

AESDK_OpenGL_EffectRenderData::~AESDK_OpenGL_EffectRenderData() {
    // Without a context there are no objects, and no reason to change the caller's context.
    if (renderContext == nullptr) {
        return;
    }
    // The objects belong to this render data's context, whichever thread tears it down. When
    // that context cannot be made current, the names would hit another context: leave them
    // to the context's own deletion.
    const bool ownContextCurrent = wglMakeCurrent(deviceContext, renderContext) != FALSE;
    glbinding::Binding::useCurrentContext();
    if (ownContextCurrent) {
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
    // The common data's destructor then deletes the context, and the window when this thread
    // made it.
}

}  // namespace AESDK_OpenGL
