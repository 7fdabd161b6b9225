// The Windows build's test context: a 3.3 core context made on the device context of a test
// host window, whose legacy context drivers need first to reach wglCreateContextAttribsARB.
#include "tests/support/egl_context.h"

#include <glbinding/Binding.h>

#include "platform/win32.h"
#include "tests/gl/gl_test_support.h"

namespace {

// Our own record behind the opaque pointers of the header.
struct WglTestContext {
    gl_test::HostContext host;
    HGLRC context = nullptr;
};

HGLRC MakeCoreContext(const gl_test::HostContext& host) {
    if (!host.IsCurrent()) {
        return nullptr;
    }
    const auto createContextAttribs = reinterpret_cast<PFNWGLCREATECONTEXTATTRIBSARBPROC>(
        reinterpret_cast<void (*)()>(wglGetProcAddress("wglCreateContextAttribsARB")));
    // clang-format off
    const int attributes[] = {WGL_CONTEXT_MAJOR_VERSION_ARB, 3, WGL_CONTEXT_MINOR_VERSION_ARB, 3,
                              WGL_CONTEXT_PROFILE_MASK_ARB, 1 /* core */, 0};
    // clang-format on
    return createContextAttribs != nullptr
               ? createContextAttribs(host.deviceContext, nullptr, attributes)
               : nullptr;
}

}  // namespace

EglTestContext::EglTestContext() {
    auto* record = new WglTestContext;
    record->context = MakeCoreContext(record->host);
    if (record->context == nullptr) {
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
    delete record;
}

void EglTestContext::MakeCurrent() {
    auto* record = static_cast<WglTestContext*>(display_);
    wglMakeCurrent(record->host.deviceContext, record->context);
    glbinding::Binding::useCurrentContext();
}

const void* CurrentSystemContext() {
    return wglGetCurrentContext();
}
