#pragma once

#include <string>

#include "platform/win32.h"

namespace AESDK_OpenGL {

// One hidden surface: an invisible window of its own, its device context and one OpenGL
// context. The start-up instance and every render thread's data are one of these.
struct AESDK_OpenGL_EffectCommonData {
    AESDK_OpenGL_EffectCommonData() = default;
    AESDK_OpenGL_EffectCommonData(const AESDK_OpenGL_EffectCommonData&) = delete;
    AESDK_OpenGL_EffectCommonData& operator=(const AESDK_OpenGL_EffectCommonData&) = delete;
    virtual ~AESDK_OpenGL_EffectCommonData();

    // Deletes the context (leaving no context current on the calling thread), releases the
    // device context, destroys the window when the calling thread created it and unregisters
    // its class; each only when held.
    void ReleaseHiddenSurface();

    bool started = false;
    HWND window = nullptr;
    HDC deviceContext = nullptr;
    HGLRC renderContext = nullptr;
    std::string windowClassName;
};

}  // namespace AESDK_OpenGL
