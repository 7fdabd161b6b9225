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
    // The window goes with its context; while it existed its class could not be unregistered.
    if (window != nullptr) {
        DestroyWindow(window);
        window = nullptr;
    }
    if (!windowClassName.empty()) {
        UnregisterClassA(windowClassName.c_str(), nullptr);
        windowClassName.clear();
    }
}

}  // namespace AESDK_OpenGL
