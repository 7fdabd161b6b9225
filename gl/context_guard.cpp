#include "gl/context_guard.h"

namespace AESDK_OpenGL {

AESDK_OpenGL_ContextGuard::AESDK_OpenGL_ContextGuard()
    : savedDC(wglGetCurrentDC()), savedContext(wglGetCurrentContext()) {}

AESDK_OpenGL_ContextGuard::~AESDK_OpenGL_ContextGuard() {
    if (wglGetCurrentContext() == savedContext && wglGetCurrentDC() == savedDC) {
        return;
    }
    // Nothing can be done about a failure here; the host's context is the host's concern.
    wglMakeCurrent(savedDC, savedContext);
}

}  // namespace AESDK_OpenGL
