#pragma once

#include <EGL/egl.h>

#include <vector>

namespace platform_egl {

// The surfaceless Mesa display, initialised on first use; EGL_NO_DISPLAY when there is none.
EGLDisplay PlatformDisplay();

// A desktop OpenGL context on the surfaceless display; EGL_NO_CONTEXT on failure. The
// attribute list ends with EGL_NONE.
EGLContext CreateEglContext(EGLContext share, const std::vector<EGLint>& attributes);

}  // namespace platform_egl
