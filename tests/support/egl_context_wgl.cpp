// The Windows build's test context: WGL on a hidden window of its own, made the way drivers
// require (a legacy context first, to reach wglCreateContextAttribsARB).
#include "tests/support/egl_context.h"

#include <glbinding/Binding.h>

#include <atomic>
#include <string>

#include "platform/win32.h"

namespace {

struct TestWindow {
    HWND window = nullptr;
    HDC deviceContext = nullptr;
    std::string className;
};

std::atomic<int> s_testWindowCounter{0};

// Our own record behind the opaque pointers of the header.
struct WglTestContext {
    TestWindow surface;
    HGLRC context = nullptr;
};

bool MakeSurface(TestWindow& surface) {
    surface.className = "QuorvelTestContext" + std::to_string(s_testWindowCounter.fetch_add(1));
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof(WNDCLASSEXA);
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.lpszClassName = surface.className.c_str();
    if (RegisterClassExA(&windowClass) == 0) {
        return false;
    }
    surface.window = CreateWindowExA(0, surface.className.c_str(), "test", 0, 0, 0, 8, 8, nullptr,
                                     nullptr, nullptr, nullptr);
    if (surface.window == nullptr) {
        return false;
    }
    surface.deviceContext = GetDC(surface.window);
    PIXELFORMATDESCRIPTOR pixelFormat = {};
    pixelFormat.nSize = sizeof(PIXELFORMATDESCRIPTOR);
    pixelFormat.nVersion = 1;
    pixelFormat.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL;
    pixelFormat.iPixelType = PFD_TYPE_RGBA;
    pixelFormat.cColorBits = 32;
    const int format = ChoosePixelFormat(surface.deviceContext, &pixelFormat);
    return format != 0 && SetPixelFormat(surface.deviceContext, format, &pixelFormat) != FALSE;
}

void ReleaseSurface(TestWindow& surface) {
    if (surface.deviceContext != nullptr) {
        ReleaseDC(surface.window, surface.deviceContext);
    }
    if (surface.window != nullptr) {
        DestroyWindow(surface.window);
    }
    UnregisterClassA(surface.className.c_str(), nullptr);
}

HGLRC MakeCoreContext(HDC deviceContext) {
    HGLRC legacy = wglCreateContext(deviceContext);
    if (legacy == nullptr || wglMakeCurrent(deviceContext, legacy) == FALSE) {
        if (legacy != nullptr) {
            wglDeleteContext(legacy);
        }
        return nullptr;
    }
    const auto createContextAttribs = reinterpret_cast<PFNWGLCREATECONTEXTATTRIBSARBPROC>(
        reinterpret_cast<void (*)()>(wglGetProcAddress("wglCreateContextAttribsARB")));
    const int attributes[] = {WGL_CONTEXT_MAJOR_VERSION_ARB,
                              3,
                              WGL_CONTEXT_MINOR_VERSION_ARB,
                              3,
                              WGL_CONTEXT_PROFILE_MASK_ARB,
                              1 /* core */,
                              0};
    HGLRC core = createContextAttribs != nullptr
                     ? createContextAttribs(deviceContext, nullptr, attributes)
                     : nullptr;
    wglMakeCurrent(nullptr, nullptr);
    wglDeleteContext(legacy);
    return core;
}

}  // namespace

EglTestContext::EglTestContext() {
    auto* record = new WglTestContext;
    if (MakeSurface(record->surface)) {
        record->context = MakeCoreContext(record->surface.deviceContext);
    }
    if (record->context == nullptr) {
        ReleaseSurface(record->surface);
        delete record;
        return;
    }
    display_ = record;
    context_ = record->context;
    MakeCurrent();
    glbinding::Binding::initialize(false);
}

EglTestContext::~EglTestContext() {
    auto* record = static_cast<WglTestContext*>(display_);
    if (record == nullptr) {
        return;
    }
    if (wglGetCurrentContext() == record->context) {
        wglMakeCurrent(nullptr, nullptr);
    }
    wglDeleteContext(record->context);
    ReleaseSurface(record->surface);
    delete record;
}

void EglTestContext::MakeCurrent() {
    auto* record = static_cast<WglTestContext*>(display_);
    wglMakeCurrent(record->surface.deviceContext, record->context);
    glbinding::Binding::useCurrentContext();
}

const void* CurrentSystemContext() {
    return wglGetCurrentContext();
}
