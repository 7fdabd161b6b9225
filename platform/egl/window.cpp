#include <unistd.h>

#include <memory>
#include <mutex>

#include "platform/egl/failure_injection.h"
#include "platform/egl/platform_state.h"

using platform_egl::CallFails;
using platform_egl::FindDeviceContextLocked;
using platform_egl::FindWindowLocked;
using platform_egl::PlatformState;
using platform_egl::State;
using platform_testing::PlatformCall;

namespace {

// The only pixel format offered: RGBA, 32 colour bits, OpenGL on a window.
constexpr int kPixelFormat = 1;

}  // namespace

HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                     LPVOID parameter) {
    if (CallFails(PlatformCall::CreateWindowExA) || className == nullptr) {
        return nullptr;
    }
    PlatformState& state = State();
    std::lock_guard<std::mutex> lock(state.mutex);
    if (state.classes.count(className) == 0) {
        return nullptr;
    }
    auto window = std::make_unique<HWND__>();
    window->arguments = {exStyle, className, windowName != nullptr ? windowName : "",
                         style,   x,         y,
                         width,   height,    parent,
                         menu,    instance,  parameter};
    window->deviceContext.window = window.get();
    window->thread = GetCurrentThreadId();
    HWND handle = window.get();
    state.windows[handle] = std::move(window);
    return handle;
}

BOOL DestroyWindow(HWND window) {
    if (CallFails(PlatformCall::DestroyWindow)) {
        return FALSE;
    }
    PlatformState& state = State();
    std::lock_guard<std::mutex> lock(state.mutex);
    // As on Windows, another thread's window is refused (ERROR_ACCESS_DENIED there).
    const HWND__* record = FindWindowLocked(state, window);
    if (record == nullptr || record->thread != GetCurrentThreadId()) {
        return FALSE;
    }
    state.windows.erase(window);
    return TRUE;
}

DWORD GetWindowThreadProcessId(HWND window, LPDWORD processId) {
    PlatformState& state = State();
    std::lock_guard<std::mutex> lock(state.mutex);
    const HWND__* record = FindWindowLocked(state, window);
    if (record == nullptr) {
        return 0;
    }
    if (processId != nullptr) {
        *processId = static_cast<DWORD>(getpid());
    }
    return record->thread;
}

HDC GetDC(HWND window) {
    if (CallFails(PlatformCall::GetDC)) {
        return nullptr;
    }
    PlatformState& state = State();
    std::lock_guard<std::mutex> lock(state.mutex);
    HWND__* record = FindWindowLocked(state, window);
    return record != nullptr ? &record->deviceContext : nullptr;
}

int ReleaseDC(HWND window, HDC deviceContext) {
    if (CallFails(PlatformCall::ReleaseDC)) {
        return 0;
    }
    PlatformState& state = State();
    std::lock_guard<std::mutex> lock(state.mutex);
    HDC__* record = FindDeviceContextLocked(state, deviceContext);
    return record != nullptr && record->window == window ? 1 : 0;
}

int ChoosePixelFormat(HDC deviceContext, const PIXELFORMATDESCRIPTOR* descriptor) {
    if (CallFails(PlatformCall::ChoosePixelFormat) || descriptor == nullptr ||
        descriptor->nSize != sizeof(PIXELFORMATDESCRIPTOR) ||
        (descriptor->dwFlags & PFD_SUPPORT_OPENGL) == 0 ||
        descriptor->iPixelType != PFD_TYPE_RGBA) {
        return 0;
    }
    PlatformState& state = State();
    std::lock_guard<std::mutex> lock(state.mutex);
    HDC__* record = FindDeviceContextLocked(state, deviceContext);
    if (record == nullptr) {
        return 0;
    }
    record->requestedPixelFormat = *descriptor;
    return kPixelFormat;
}

BOOL SetPixelFormat(HDC deviceContext, int format, const PIXELFORMATDESCRIPTOR*) {
    if (CallFails(PlatformCall::SetPixelFormat) || format != kPixelFormat) {
        return FALSE;
    }
    PlatformState& state = State();
    std::lock_guard<std::mutex> lock(state.mutex);
    HDC__* record = FindDeviceContextLocked(state, deviceContext);
    // A window's pixel format can be set once; setting the same one again is harmless.
    if (record == nullptr || (record->pixelFormat != 0 && record->pixelFormat != format)) {
        return FALSE;
    }
    record->pixelFormat = format;
    return TRUE;
}
