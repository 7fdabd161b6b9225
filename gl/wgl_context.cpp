#include <atomic>
#include <cstring>

#include "gl/hidden_context.h"
#include "shell/toolkit/errors.h"

namespace AESDK_OpenGL {
namespace {

// Both addresses are taken by the start-up context at GLOBAL_SETUP, before any render thread
// asks for the second one.
std::atomic<PFNWGLGETEXTENSIONSSTRINGARBPROC> s_getExtensionsString{nullptr};
std::atomic<PFNWGLCREATECONTEXTATTRIBSARBPROC> s_createContextAttribs{nullptr};

const int kContextAttributes[] = {
    WGL_CONTEXT_MAJOR_VERSION_ARB, 3, WGL_CONTEXT_MINOR_VERSION_ARB, 3, 0,
};

template <typename Function>
Function ProcAddress(const char* name) {
    // Through void (*)(), the one function pointer type that converts to every other unremarked.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(wglGetProcAddress(name)));
}

void ThrowUnless(bool condition) {
    if (!condition) {
        throw AESDK_OpenGL_Fault(kFaultWindowOrContext);
    }
}

// A context that was made but is not finished yet: deleted again if the start fails, so that
// a failed start leaks no context.
class PendingContext {
  public:
    explicit PendingContext(HGLRC context) : context_(context) { ThrowUnless(context_ != nullptr); }
    ~PendingContext() {
        if (context_ != nullptr) {
            wglDeleteContext(context_);
        }
    }
    PendingContext(const PendingContext&) = delete;
    PendingContext& operator=(const PendingContext&) = delete;

    HGLRC Get() const { return context_; }
    HGLRC Release() {
        HGLRC context = context_;
        context_ = nullptr;
        return context;
    }

  private:
    HGLRC context_;
};

HGLRC CreateSharingContext(HDC deviceContext, HGLRC shareContext) {
    const PFNWGLCREATECONTEXTATTRIBSARBPROC createContextAttribs = s_createContextAttribs.load();
    ThrowUnless(createContextAttribs != nullptr);
    PendingContext context(createContextAttribs(deviceContext, nullptr, kContextAttributes));
    // Shared before it is first made current: some WGL implementations (Wine's among them)
    // can join a context to a share group only while it has never been current.
    ThrowUnless(wglShareLists(shareContext, context.Get()) != FALSE);
    ThrowUnless(wglMakeCurrent(deviceContext, context.Get()) != FALSE);
    return context.Release();
}

HGLRC CreateStartupContext(HDC deviceContext) {
    PendingContext context(wglCreateContext(deviceContext));
    ThrowUnless(wglMakeCurrent(deviceContext, context.Get()) != FALSE);

    s_getExtensionsString =
        ProcAddress<PFNWGLGETEXTENSIONSSTRINGARBPROC>("wglGetExtensionsStringARB");
    const PFNWGLGETEXTENSIONSSTRINGARBPROC getExtensionsString = s_getExtensionsString.load();
    ThrowUnless(getExtensionsString != nullptr);
    const char* extensions = getExtensionsString(deviceContext);
    // A plain substring search, as drivers have always been asked.
    if (extensions != nullptr && std::strstr(extensions, "WGL_ARB_create_context") != nullptr) {
        s_createContextAttribs =
            ProcAddress<PFNWGLCREATECONTEXTATTRIBSARBPROC>("wglCreateContextAttribsARB");
    }
    ThrowUnless(s_createContextAttribs.load() != nullptr);
    return context.Release();
}

}  // namespace

HGLRC CreateWGLContext(HDC deviceContext, HGLRC shareContext) {
    PIXELFORMATDESCRIPTOR pixelFormat = {};
    pixelFormat.nSize = sizeof(PIXELFORMATDESCRIPTOR);
    pixelFormat.nVersion = 1;
    pixelFormat.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL;
    pixelFormat.iPixelType = PFD_TYPE_RGBA;
    pixelFormat.cColorBits = 32;
    pixelFormat.cDepthBits = 8;
    pixelFormat.iLayerType = PFD_MAIN_PLANE;
    const int format = ChoosePixelFormat(deviceContext, &pixelFormat);
    ThrowUnless(format != 0);
    ThrowUnless(SetPixelFormat(deviceContext, format, &pixelFormat) != FALSE);

    return shareContext != nullptr ? CreateSharingContext(deviceContext, shareContext)
                                   : CreateStartupContext(deviceContext);
}

}  // namespace AESDK_OpenGL
