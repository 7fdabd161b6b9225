#pragma once

// Test controls of the EGL stand-in for Win32 and WGL: make calls fail, replace the WGL
// extension string, count calls and look at what is still alive. Not available on Windows,
// where the system's own functions are used.

#include <string>

namespace platform_testing {

enum class PlatformCall {
    RegisterClassExA,
    UnregisterClassA,
    CreateWindowExA,
    DestroyWindow,
    GetDC,
    ReleaseDC,
    ChoosePixelFormat,
    SetPixelFormat,
    wglCreateContext,
    wglCreateContextAttribsARB,
    wglDeleteContext,
    wglMakeCurrent,
    wglGetCurrentContext,
    wglGetCurrentDC,
    wglShareLists,
    wglGetProcAddress,
    wglGetExtensionsStringARB,
    Count
};

constexpr int kAlways = -1;

// The call succeeds `skip` more times, then fails `times` times (kAlways: every time after).
void FailCall(PlatformCall call, int skip = 0, int times = 1);
// How often the call was made since the last reset, failed calls included.
int CallCount(PlatformCall call);
// The text that wglGetExtensionsStringARB returns from now on.
void SetExtensionString(const std::string& extensions);
const char* DefaultExtensionString();
// No failures planned, all counts 0, the default extension string.
void Reset();

int LiveWindowCount();
int RegisteredClassCount();
int LiveContextCount();
bool IsClassRegistered(const std::string& className);

}  // namespace platform_testing
