#pragma once

#include "platform/win32.h"

namespace AESDK_OpenGL {

// Keeps the calling thread's current OpenGL context and device context (the host's) and puts
// them back when the scope ends, normally or by an exception.
class AESDK_OpenGL_ContextGuard {
  public:
    AESDK_OpenGL_ContextGuard();
    ~AESDK_OpenGL_ContextGuard();
    AESDK_OpenGL_ContextGuard(const AESDK_OpenGL_ContextGuard&) = delete;
    AESDK_OpenGL_ContextGuard& operator=(const AESDK_OpenGL_ContextGuard&) = delete;

  private:
    HDC savedDC;
    HGLRC savedContext;
};

}  // namespace AESDK_OpenGL
