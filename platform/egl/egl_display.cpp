#include "platform/egl/egl_display.h"

#include <EGL/eglext.h>

#include <mutex>

namespace platform_egl {

EGLDisplay PlatformDisplay() {
    static EGLDisplay display = EGL_NO_DISPLAY;
    static std::once_flag once;
    std::call_once(once, [] {
        // No window system here: Mesa's surfaceless platform needs neither X nor a GPU.
        EGLDisplay candidate =
            eglGetPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
        EGLint major = 0;
        EGLint minor = 0;
        if (candidate != EGL_NO_DISPLAY && eglInitialize(candidate, &major, &minor) == EGL_TRUE) {
            display = candidate;
        }
    });
    return display;
}

EGLContext CreateEglContext(EGLContext share, const std::vector<EGLint>& attributes) {
    const EGLDisplay display = PlatformDisplay();
    // The bound API is per thread, and contexts are made on whatever thread asks.
    if (display == EGL_NO_DISPLAY || eglBindAPI(EGL_OPENGL_API) != EGL_TRUE) {
        return EGL_NO_CONTEXT;
    }
    return eglCreateContext(display, EGL_NO_CONFIG_KHR, share, attributes.data());
}

}  // namespace platform_egl
