#include "platform/egl/wgl_context.h"

#include <memory>
#include <mutex>
#include <utility>

#include "platform/egl/egl_display.h"
#include "platform/egl/failure_injection.h"
#include "platform/egl/platform_state.h"

using platform_egl::CallFails;
using platform_egl::CurrentOfThisThread;
using platform_egl::FindContextLocked;
using platform_egl::FindDeviceContextLocked;
using platform_egl::PlatformDisplay;
using platform_egl::PlatformState;
using platform_egl::ReleaseCurrentLocked;
using platform_egl::State;
using platform_egl::ThreadCurrent;
using platform_testing::PlatformCall;

namespace platform_egl {

HGLRC CreateContextFor(HDC deviceContext, HGLRC share, std::vector<EGLint> attributes,
                       std::vector<int> wglAttributes) {
    PlatformState& state = State();
    std::lock_guard<std::mutex> lock(state.mutex);
    HDC__* device = FindDeviceContextLocked(state, deviceContext);
    if (device == nullptr || device->pixelFormat == 0) {
        return nullptr;
    }
    EGLContext shareContext = EGL_NO_CONTEXT;
    if (share != nullptr) {
        HGLRC__* shareRecord = FindContextLocked(state, share);
        if (shareRecord == nullptr) {
            return nullptr;
        }
        shareContext = shareRecord->context;
    }
    const EGLContext context = CreateEglContext(shareContext, attributes);
    if (context == EGL_NO_CONTEXT) {
        return nullptr;
    }
    auto record = std::make_unique<HGLRC__>();
    record->context = context;
    record->pixelFormat = device->pixelFormat;
    record->attributes = std::move(attributes);
    record->wglAttributes = std::move(wglAttributes);
    HGLRC handle = record.get();
    state.contexts[handle] = std::move(record);
    return handle;
}

}  // namespace platform_egl

HGLRC wglCreateContext(HDC deviceContext) {
    if (CallFails(PlatformCall::wglCreateContext)) {
        return nullptr;
    }
    // No attributes: the driver's legacy (compatibility) context, as WGL gives.
    return platform_egl::CreateContextFor(deviceContext, nullptr, {EGL_NONE}, {});
}

BOOL wglDeleteContext(HGLRC context) {
    if (CallFails(PlatformCall::wglDeleteContext)) {
        return FALSE;
    }
    PlatformState& state = State();
    std::lock_guard<std::mutex> lock(state.mutex);
    HGLRC__* record = FindContextLocked(state, context);
    if (record == nullptr) {
        return FALSE;
    }
    ThreadCurrent& current = CurrentOfThisThread();
    if (current.context == context) {
        ReleaseCurrentLocked(current);
    } else if (record->current) {
        return FALSE;  // current on another thread
    }
    eglDestroyContext(PlatformDisplay(), record->context);
    state.contexts.erase(context);
    return TRUE;
}

BOOL wglMakeCurrent(HDC deviceContext, HGLRC context) {
    const bool injectedFailure = CallFails(PlatformCall::wglMakeCurrent);
    PlatformState& state = State();
    std::lock_guard<std::mutex> lock(state.mutex);
    ThreadCurrent& current = CurrentOfThisThread();
    if (context == nullptr && !injectedFailure) {
        ReleaseCurrentLocked(current);
        return TRUE;
    }
    HGLRC__* record = FindContextLocked(state, context);
    HDC__* device = FindDeviceContextLocked(state, deviceContext);
    const bool usable = !injectedFailure && record != nullptr && device != nullptr &&
                        device->pixelFormat == record->pixelFormat &&
                        (!record->current || current.context == context);
    if (!usable) {
        // On failure WGL leaves the thread with no context current.
        ReleaseCurrentLocked(current);
        return FALSE;
    }
    if (current.context == context) {
        current.deviceContext = deviceContext;
        return TRUE;
    }
    if (eglMakeCurrent(PlatformDisplay(), EGL_NO_SURFACE, EGL_NO_SURFACE, record->context) !=
        EGL_TRUE) {
        ReleaseCurrentLocked(current);
        return FALSE;
    }
    if (HGLRC__* previous = FindContextLocked(state, current.context)) {
        previous->current = false;
    }
    record->current = true;
    current.context = context;
    current.deviceContext = deviceContext;
    return TRUE;
}

HGLRC wglGetCurrentContext() {
    CallFails(PlatformCall::wglGetCurrentContext);
    return CurrentOfThisThread().context;
}

HDC wglGetCurrentDC() {
    CallFails(PlatformCall::wglGetCurrentDC);
    return CurrentOfThisThread().deviceContext;
}

BOOL wglShareLists(HGLRC existing, HGLRC joining) {
    if (CallFails(PlatformCall::wglShareLists)) {
        return FALSE;
    }
    PlatformState& state = State();
    std::lock_guard<std::mutex> lock(state.mutex);
    HGLRC__* existingRecord = FindContextLocked(state, existing);
    HGLRC__* joiningRecord = FindContextLocked(state, joining);
    ThreadCurrent& current = CurrentOfThisThread();
    const bool currentHere = current.context == joining;
    if (existingRecord == nullptr || joiningRecord == nullptr || existing == joining ||
        (joiningRecord->current && !currentHere)) {
        return FALSE;
    }
    // EGL fixes the share group at creation, so the joining context (which holds no objects
    // yet) is made again inside the group of the existing one, under the same handle.
    const EGLContext replacement =
        platform_egl::CreateEglContext(existingRecord->context, joiningRecord->attributes);
    if (replacement == EGL_NO_CONTEXT) {
        return FALSE;
    }
    const EGLDisplay display = PlatformDisplay();
    if (currentHere &&
        eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, replacement) != EGL_TRUE) {
        eglDestroyContext(display, replacement);
        return FALSE;
    }
    eglDestroyContext(display, joiningRecord->context);
    joiningRecord->context = replacement;
    return TRUE;
}
