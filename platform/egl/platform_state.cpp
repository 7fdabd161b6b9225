#include "platform/egl/platform_state.h"

#include "platform/egl/egl_display.h"
#include "platform/egl/no_destructor.h"

namespace platform_egl {

PlatformState& State() {
    static NoDestructor<PlatformState> state;
    return state.Get();
}

ThreadCurrent::~ThreadCurrent() {
    // A thread that ends with a context current gives it up, so that another thread can
    // make it current or delete it.
    PlatformState& state = State();
    std::lock_guard<std::mutex> lock(state.mutex);
    ReleaseCurrentLocked(*this);
    eglReleaseThread();
}

ThreadCurrent& CurrentOfThisThread() {
    thread_local ThreadCurrent current;
    return current;
}

HWND__* FindWindowLocked(PlatformState& state, HWND window) {
    return state.windows.count(window) != 0 ? window : nullptr;
}

HDC__* FindDeviceContextLocked(PlatformState& state, HDC deviceContext) {
    // Looked up among the live windows, never through the handle itself, which may be stale.
    for (auto& entry : state.windows) {
        if (&entry.second->deviceContext == deviceContext) {
            return deviceContext;
        }
    }
    return nullptr;
}

HGLRC__* FindContextLocked(PlatformState& state, HGLRC context) {
    return state.contexts.count(context) != 0 ? context : nullptr;
}

void ReleaseCurrentLocked(ThreadCurrent& current) {
    if (current.context != nullptr) {
        eglMakeCurrent(PlatformDisplay(), EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
        if (HGLRC__* record = FindContextLocked(State(), current.context)) {
            record->current = false;
        }
    }
    current.context = nullptr;
    current.deviceContext = nullptr;
}

}  // namespace platform_egl
