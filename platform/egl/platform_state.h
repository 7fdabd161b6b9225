#pragma once

#include <EGL/egl.h>

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/testing.h"
#include "platform/win32.h"

// The records behind the handles that the EGL stand-in hands out. All of them live in one
// registry guarded by one mutex, so that every handle a caller passes in can be checked.

struct HDC__ {
    HWND window = nullptr;
    int pixelFormat = 0;
    // The descriptor last passed to ChoosePixelFormat, for tests.
    PIXELFORMATDESCRIPTOR requestedPixelFormat{};
};

struct HWND__ {
    // What CreateWindowExA was given.
    platform_testing::WindowArguments arguments;
    HDC__ deviceContext;
    // GetCurrentThreadId of the thread that created the window, the only one that may
    // destroy it.
    DWORD thread = 0;
};

struct HGLRC__ {
    EGLContext context = EGL_NO_CONTEXT;
    int pixelFormat = 0;
    // The attribute list it was made with (EGL names, EGL_NONE at the end), kept so that
    // wglShareLists can make it again inside a share group.
    std::vector<EGLint> attributes;
    // The list wglCreateContextAttribsARB was given, up to and with its 0, for tests.
    std::vector<int> wglAttributes;
    bool current = false;
};

namespace platform_egl {

struct ClassRecord {
    ATOM atom = 0;
    // As registered, without the name (the key) and with a menu name only when one was given.
    WNDCLASSEXA fields{};
};

struct PlatformState {
    std::mutex mutex;
    std::map<std::string, ClassRecord> classes;
    std::map<HWND, std::unique_ptr<HWND__>> windows;
    std::map<HGLRC, std::unique_ptr<HGLRC__>> contexts;
    ATOM nextAtom = 0xC000;
};

PlatformState& State();

// What this thread has current: the context and the device context passed to wglMakeCurrent.
struct ThreadCurrent {
    HGLRC context = nullptr;
    HDC deviceContext = nullptr;
    ~ThreadCurrent();
};

ThreadCurrent& CurrentOfThisThread();

// Under the state's lock: the records behind handles, or null when the handle is not alive.
HWND__* FindWindowLocked(PlatformState& state, HWND window);
HDC__* FindDeviceContextLocked(PlatformState& state, HDC deviceContext);
HGLRC__* FindContextLocked(PlatformState& state, HGLRC context);

// Under the state's lock: makes nothing current on this thread (as a failed wglMakeCurrent
// does on Windows).
void ReleaseCurrentLocked(ThreadCurrent& current);

}  // namespace platform_egl
