#include "gl/common_data.h"

namespace AESDK_OpenGL {

AESDK_OpenGL_EffectCommonData::~AESDK_OpenGL_EffectCommonData() {
    ReleaseHiddenSurface();
}

void AESDK_OpenGL_EffectCommonData::ReleaseHiddenSurface() {
    if (renderContext != nullptr) {
        wglMakeCurrent(nullptr, nullptr);
        wglDeleteContext(renderContext);
        renderContext = nullptr;
    }
    if (deviceContext != nullptr) {
        ReleaseDC(window, deviceContext);
        deviceContext = nullptr;
    }
    // Only the thread that created a window may destroy it. The teardown runs on a thread of
    // its own, so there the window is left as it is, and its class, which cannot be
    // unregistered while a window of it exists, stays registered. A window whose thread has
    // ended is gone already and names no thread.
    if (window != nullptr) {
        if (GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId()) {
            DestroyWindow(window);
        }
        window = nullptr;
    }
    if (!windowClassName.empty()) {
        UnregisterClassA(windowClassName.c_str(), nullptr);
        windowClassName.clear();
    }
}

}  // namespace AESDK_OpenGL
