#include "gl/render_data_registry.h"

#include <atomic>
#include <thread>

#include "gl/context_guard.h"
#include "gl/hidden_context.h"
#include "shell/toolkit/failure_conversion.h"

using AESDK_OpenGL::AESDK_OpenGL_ContextGuard;
using AESDK_OpenGL::AESDK_OpenGL_EffectCommonData;
using AESDK_OpenGL::AESDK_OpenGL_EffectRenderData;

std::recursive_mutex s_renderDataMutex;
std::map<std::int32_t, std::shared_ptr<AESDK_OpenGL_EffectRenderData>> s_renderDataByThread;
std::shared_ptr<AESDK_OpenGL_EffectCommonData> s_sharedGLData;

namespace {

// Numbers are drawn once per thread and never reused, so two threads never share an entry.
std::atomic<std::int32_t> s_threadCounter{0};
thread_local std::int32_t t_threadNumber = -1;

}  // namespace

std::shared_ptr<AESDK_OpenGL_EffectRenderData> AcquireThreadRenderData() {
    std::lock_guard<std::recursive_mutex> lock(s_renderDataMutex);
    if (t_threadNumber == -1) {
        t_threadNumber = s_threadCounter.fetch_add(1);
    }
    std::shared_ptr<AESDK_OpenGL_EffectRenderData>& entry = s_renderDataByThread[t_threadNumber];
    if (!entry) {
        entry = std::make_shared<AESDK_OpenGL_EffectRenderData>();
    }
    return entry;
}

PF_Err CreateSharedGLData(PF_InData*) {
    return ConvertFailuresToCode([] {
        const AESDK_OpenGL_ContextGuard guard;
        s_sharedGLData = std::make_shared<AESDK_OpenGL_EffectCommonData>();
        AESDK_OpenGL::CreateHiddenContext(*s_sharedGLData, nullptr);
        return PF_Err_NONE;
    });
}

PF_Err DestroyGLDataOnThread() {
    PF_Err error = PF_Err_NONE;
    std::thread teardown(ReleaseGLData, &error);
    teardown.join();
    return error;
}

void ReleaseGLData(PF_Err* error) {
    const PF_Err released = ConvertFailuresToCode([] {
        const AESDK_OpenGL_ContextGuard guard;
        {
            // Each render data whose last reference the registry holds is destroyed here,
            // under the lock: its own context is made current on this thread to delete its
            // objects, then the context is deleted (the window stays with the thread that made
            // it).
            std::lock_guard<std::recursive_mutex> lock(s_renderDataMutex);
            s_renderDataByThread.clear();
        }
        s_sharedGLData.reset();
        return PF_Err_NONE;
    });
    if (released != PF_Err_NONE) {
        *error = released;
    }
}
