#include "gl/render_data.h"

namespace AESDK_OpenGL {

AESDK_OpenGL_EffectRenderData::~AESDK_OpenGL_EffectRenderData() {
    // Without a context there are no objects, and no reason to change the caller's context.
    if (renderContext == nullptr) {
        return;
    }
    try {
        // The teardown may meet a context that glbinding does not know yet, and selecting it
        // would then grow glbinding's state: no other thread draws meanwhile.
        teardownScope_.emplace();
        // The objects belong to this render data's context, whichever thread tears it down.
        // When it cannot be made current, the owners leave the names to the context's own
        // deletion.
        wglMakeCurrent(deviceContext, renderContext);
        UseCurrentContext();
    } catch (...) {
        // Only reached from inside a thread's own OpenGL calls, where the change cannot be
        // granted: the owners delete only what belongs to the context current there.
    }
}

}  // namespace AESDK_OpenGL
