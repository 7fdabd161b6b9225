#include <cstdint>
#include <mutex>
#include <string>

#include "platform/egl/failure_injection.h"
#include "platform/egl/platform_state.h"

using platform_egl::CallFails;
using platform_egl::PlatformState;
using platform_egl::State;
using platform_testing::PlatformCall;

namespace {

thread_local DWORD t_lastError = 0;

}  // namespace

DWORD GetLastError() {
    return t_lastError;
}

ATOM RegisterClassExA(const WNDCLASSEXA* windowClass) {
    if (CallFails(PlatformCall::RegisterClassExA) || windowClass == nullptr ||
        windowClass->cbSize != sizeof(WNDCLASSEXA) || windowClass->lpszClassName == nullptr ||
        windowClass->lpfnWndProc == nullptr) {
        t_lastError = ERROR_INVALID_PARAMETER;
        return 0;
    }
    PlatformState& state = State();
    std::lock_guard<std::mutex> lock(state.mutex);
    const std::string name = windowClass->lpszClassName;
    if (state.classes.count(name) != 0) {
        t_lastError = ERROR_CLASS_ALREADY_EXISTS;  // Windows refuses a second class of the name.
        return 0;
    }
    platform_egl::ClassRecord& record = state.classes[name];
    record.atom = state.nextAtom++;
    record.fields = *windowClass;
    record.fields.lpszClassName = nullptr;
    if (record.fields.lpszMenuName != nullptr) {
        record.fields.lpszMenuName = "";
    }
    return record.atom;
}

BOOL UnregisterClassA(LPCSTR className, HINSTANCE) {
    if (CallFails(PlatformCall::UnregisterClassA) || className == nullptr) {
        return FALSE;
    }
    PlatformState& state = State();
    std::lock_guard<std::mutex> lock(state.mutex);
    const auto found = state.classes.find(className);
    if (found == state.classes.end()) {
        return FALSE;
    }
    // As on Windows, a class stays registered while a window of it exists.
    for (const auto& entry : state.windows) {
        if (entry.second->arguments.className == className) {
            return FALSE;
        }
    }
    state.classes.erase(found);
    return TRUE;
}

LRESULT CALLBACK DefWindowProcA(HWND, UINT, WPARAM, LPARAM) {
    return 0;
}

HMODULE GetModuleHandleA(LPCSTR moduleName) {
    // Only the executable's own handle is asked for; any non-null value stands for it.
    static int executable;
    return moduleName == nullptr ? reinterpret_cast<HMODULE>(&executable) : nullptr;
}

// Handles that tell which cursor or stock object was asked for; nothing reads through them.
HCURSOR LoadCursorA(HINSTANCE, LPCSTR cursorName) {
    return reinterpret_cast<HCURSOR>(0x10000 + reinterpret_cast<std::uintptr_t>(cursorName));
}

HGDIOBJ GetStockObject(int object) {
    return reinterpret_cast<HGDIOBJ>(static_cast<std::uintptr_t>(0x20000 + object));
}
