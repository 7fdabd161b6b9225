#include <EGL/egl.h>
#include <EGL/eglext.h>

#include <cstring>
#include <mutex>
#include <vector>

#include "platform/egl/egl_display.h"
#include "platform/egl/failure_injection.h"
#include "platform/egl/platform_state.h"
#include "platform/egl/wgl_context.h"

using platform_egl::CallFails;
using platform_testing::PlatformCall;

namespace {

const char* WINAPI GetExtensionsString(HDC) {
    if (CallFails(PlatformCall::wglGetExtensionsStringARB)) {
        return nullptr;
    }
    return platform_egl::CurrentExtensionString();
}

// One WGL attribute and the EGL attribute that carries the same request; the values (version
// numbers, profile and flag bits) are the same in both APIs.
struct AttributeTranslation {
    int wgl;
    EGLint egl;
};

constexpr AttributeTranslation kAttributeTranslations[] = {
    {WGL_CONTEXT_MAJOR_VERSION_ARB, EGL_CONTEXT_MAJOR_VERSION},
    {WGL_CONTEXT_MINOR_VERSION_ARB, EGL_CONTEXT_MINOR_VERSION},
    {WGL_CONTEXT_FLAGS_ARB, EGL_CONTEXT_FLAGS_KHR},
    {WGL_CONTEXT_PROFILE_MASK_ARB, EGL_CONTEXT_OPENGL_PROFILE_MASK},
};

// False for an attribute that WGL would reject.
bool TranslateAttributes(const int* attributes, std::vector<EGLint>& translated) {
    for (const int* pair = attributes; pair != nullptr && pair[0] != 0; pair += 2) {
        bool known = false;
        for (const AttributeTranslation& translation : kAttributeTranslations) {
            if (translation.wgl == pair[0]) {
                translated.push_back(translation.egl);
                translated.push_back(pair[1]);
                known = true;
            }
        }
        if (!known) {
            return false;
        }
    }
    translated.push_back(EGL_NONE);
    return true;
}

HGLRC WINAPI CreateContextAttribs(HDC deviceContext, HGLRC share, const int* attributes) {
    if (CallFails(PlatformCall::wglCreateContextAttribsARB)) {
        return nullptr;
    }
    std::vector<EGLint> translated;
    if (!TranslateAttributes(attributes, translated)) {
        return nullptr;
    }
    std::vector<int> given;
    for (const int* attribute = attributes; attribute != nullptr; ++attribute) {
        given.push_back(*attribute);
        if (*attribute == 0 && given.size() % 2 == 1) {
            break;
        }
    }
    return platform_egl::CreateContextFor(deviceContext, share, translated, given);
}

// Through void (*)(), the one function pointer type that converts to every other unremarked.
template <typename Function>
PROC AsProc(Function* function) {
    return reinterpret_cast<PROC>(reinterpret_cast<void (*)()>(function));
}

struct ExtensionFunction {
    const char* name;
    PROC address;
};

const ExtensionFunction kExtensionFunctions[] = {
    {"wglGetExtensionsStringARB", AsProc(&GetExtensionsString)},
    {"wglCreateContextAttribsARB", AsProc(&CreateContextAttribs)},
};

}  // namespace

PROC wglGetProcAddress(LPCSTR name) {
    // Like WGL, nothing is handed out without a current context.
    if (CallFails(PlatformCall::wglGetProcAddress) || name == nullptr ||
        platform_egl::CurrentOfThisThread().context == nullptr) {
        return nullptr;
    }
    for (const ExtensionFunction& function : kExtensionFunctions) {
        if (std::strcmp(function.name, name) == 0) {
            return function.address;
        }
    }
    return AsProc(eglGetProcAddress(name));
}
