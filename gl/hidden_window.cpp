#include <atomic>
#include <cstdint>
#include <string>

#include "gl/hidden_context.h"
#include "shell/toolkit/errors.h"

namespace AESDK_OpenGL {
namespace {

// Every hidden window gets a class of its own; the number makes the names unique in the
// process, also when render threads create their windows at the same time.
std::atomic<std::int32_t> s_windowClassCounter{0};

constexpr WORD kArrowCursor = 32512;
constexpr int kHiddenWindowSize = 8;

std::string NextClassName(const std::string& name) {
    const std::int32_t number = s_windowClassCounter.fetch_add(1);
    return "AESDK_OpenGL_" + name + "_Win_Class" + std::to_string(number);
}

}  // namespace

HWND CreateHiddenWindow(const std::string& name, std::string& className) {
    className = NextClassName(name);

    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof(WNDCLASSEXA);
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.cbClsExtra = 0;
    windowClass.cbWndExtra = 0;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hIcon = nullptr;
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(kArrowCursor));
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszMenuName = nullptr;
    windowClass.lpszClassName = className.c_str();
    windowClass.hIconSm = nullptr;
    // The window outlives the module: after an unload and a new load into the same process,
    // the classes of the earlier load's windows are still registered and their numbers count
    // from 0 again. Those numbers are skipped.
    while (RegisterClassExA(&windowClass) == 0) {
        if (GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
            throw AESDK_OpenGL_Fault(kFaultWindowOrContext);
        }
        className = NextClassName(name);
        windowClass.lpszClassName = className.c_str();
    }

    HWND window = CreateWindowExA(WS_EX_APPWINDOW | WS_EX_WINDOWEDGE, className.c_str(),
                                  "OpenGL-using FBOs in AE", 0, 0, 0, kHiddenWindowSize,
                                  kHiddenWindowSize, nullptr, nullptr, nullptr, nullptr);
    if (window == nullptr) {
        throw AESDK_OpenGL_Fault(kFaultWindowOrContext);
    }
    return window;
}

}  // namespace AESDK_OpenGL
