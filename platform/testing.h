#pragma once

// Test controls of the EGL stand-in for Win32 and WGL: make calls fail, replace the WGL
// extension string, count calls and look at what is still alive. Not available on Windows,
// where the system's own functions are used.

#include <string>
#include <vector>

#include "platform/win32.h"

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

// What the platform was given, as Windows would have been: the stand-in accepts much that
// Windows would treat otherwise.
struct WindowArguments {
    DWORD exStyle = 0;
    std::string className;
    std::string title;
    DWORD style = 0;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    HWND parent = nullptr;
    HMENU menu = nullptr;
    HINSTANCE instance = nullptr;
    LPVOID parameter = nullptr;
};
// The fields a registered class was given; lpszClassName is null, lpszMenuName null unless a
// menu name was given. All 0 for a name that is not registered.
WNDCLASSEXA RegisteredClassFields(const std::string& className);
// What CreateWindowExA made a live window with (all 0 for anything else).
WindowArguments CreatedWindowArguments(HWND window);
// The descriptor last passed to ChoosePixelFormat for a live window's device context.
PIXELFORMATDESCRIPTOR RequestedPixelFormat(HDC deviceContext);
// The list wglCreateContextAttribsARB made a live context with, up to and with its 0; empty
// for a context of wglCreateContext.
std::vector<int> ContextAttributes(HGLRC context);

}  // namespace platform_testing
