#pragma once

#include <EGL/egl.h>

#include <vector>

#include "platform/win32.h"

namespace platform_egl {

// Makes a context for a device context whose pixel format is set, sharing objects with
// `share` when it is not null; null on failure. `attributes` are EGL's, EGL_NONE at the end;
// `wglAttributes` what WGL was given, kept for tests.
HGLRC CreateContextFor(HDC deviceContext, HGLRC share, std::vector<EGLint> attributes,
                       std::vector<int> wglAttributes);

}  // namespace platform_egl
