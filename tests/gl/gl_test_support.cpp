#include "tests/gl/gl_test_support.h"

#include <glbinding/AbstractFunction.h>
#include <glbinding/Binding.h>
#include <glbinding/CallbackMask.h>
#include <glbinding/callbacks.h>

#include <atomic>
#include <map>
#include <mutex>

#include "gl/hidden_context.h"
#include "gl/render_data_registry.h"

namespace gl_test {

namespace {

std::atomic<int> s_hostClassCounter{0};

std::mutex s_countsMutex;
std::map<std::string, int> s_counts;

// The window, device context and legacy context of a host: each only when the one before it
// was made.
void MakeWindow(HostContext& host) {
    host.className = "QuorvelTestHost" + std::to_string(s_hostClassCounter.fetch_add(1));
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof(WNDCLASSEXA);
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.lpszClassName = host.className.c_str();
    if (RegisterClassExA(&windowClass) != 0) {
        host.window = CreateWindowExA(0, host.className.c_str(), "host", 0, 0, 0, 8, 8, nullptr,
                                      nullptr, nullptr, nullptr);
    }
    host.deviceContext = host.window != nullptr ? GetDC(host.window) : nullptr;
    PIXELFORMATDESCRIPTOR pixelFormat = {};
    pixelFormat.nSize = sizeof(PIXELFORMATDESCRIPTOR);
    pixelFormat.nVersion = 1;
    pixelFormat.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL;
    pixelFormat.cColorBits = 32;
    const int format =
        host.deviceContext != nullptr ? ChoosePixelFormat(host.deviceContext, &pixelFormat) : 0;
    if (format != 0 && SetPixelFormat(host.deviceContext, format, &pixelFormat) != FALSE) {
        host.context = wglCreateContext(host.deviceContext);
    }
}

}  // namespace

bool ContextAvailable() {
    static const bool available = [] {
        const HostContext probe;
        return probe.context != nullptr && probe.IsCurrent();
    }();
    return available;
}

HostContext::HostContext() {
    MakeWindow(*this);
    if (context != nullptr) {
        wglMakeCurrent(deviceContext, context);
    }
}

HostContext::~HostContext() {
    if (context != nullptr) {
        if (wglGetCurrentContext() == context) {
            wglMakeCurrent(nullptr, nullptr);
        }
        wglDeleteContext(context);
    }
    if (deviceContext != nullptr) {
        ReleaseDC(window, deviceContext);
    }
    if (window != nullptr) {
        DestroyWindow(window);
    }
    UnregisterClassA(className.c_str(), nullptr);
}

bool HostContext::IsCurrent() const {
    return context != nullptr && wglGetCurrentContext() == context &&
           wglGetCurrentDC() == deviceContext;
}

GLCallCounter::GLCallCounter() {
    {
        std::lock_guard<std::mutex> lock(s_countsMutex);
        s_counts.clear();
    }
    glbinding::setAfterCallback([](const glbinding::FunctionCall& call) {
        std::lock_guard<std::mutex> lock(s_countsMutex);
        ++s_counts[call.function->name()];
    });
    glbinding::setCallbackMask(glbinding::CallbackMask::After);
}

GLCallCounter::~GLCallCounter() {
    glbinding::setCallbackMask(glbinding::CallbackMask::None);
    glbinding::setAfterCallback(nullptr);
}

int GLCallCounter::Count(const std::string& function) const {
    std::lock_guard<std::mutex> lock(s_countsMutex);
    const auto found = s_counts.find(function);
    return found != s_counts.end() ? found->second : 0;
}

int GLCallCounter::Total() const {
    std::lock_guard<std::mutex> lock(s_countsMutex);
    int total = 0;
    for (const auto& entry : s_counts) {
        total += entry.second;
    }
    return total;
}

void RenderDataTest::SetUp() {
    QUORVEL_REQUIRE_GL();
    ASSERT_EQ(CreateSharedGLData(nullptr), PF_Err_NONE);
    renderData = AcquireThreadRenderData();
    AESDK_OpenGL::CreateHiddenContext(*renderData, s_sharedGLData.get());
    renderData->started = true;
    AESDK_OpenGL::MakeRenderDataCurrent(*renderData);
}

void RenderDataTest::TearDown() {
    if (!ContextAvailable()) {
        return;
    }
    wglMakeCurrent(nullptr, nullptr);
    renderData.reset();
    EXPECT_EQ(DestroyGLDataOnThread(), PF_Err_NONE);
}

}  // namespace gl_test
