#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>

#include "gl/common_data.h"
#include "gl/render_data.h"
#include "host_api/effect.h"

// Guards s_renderDataByThread: look-up, creation and teardown.
extern std::recursive_mutex s_renderDataMutex;
// One render data per thread that has rendered since GLOBAL_SETUP, by thread number.
extern std::map<std::int32_t, std::shared_ptr<AESDK_OpenGL::AESDK_OpenGL_EffectRenderData>>
    s_renderDataByThread;
// The start-up data that every render context shares its objects with; written only at
// GLOBAL_SETUP and GLOBAL_SETDOWN, when no frame is rendered.
extern std::shared_ptr<AESDK_OpenGL::AESDK_OpenGL_EffectCommonData> s_sharedGLData;

// The calling thread's render data, made (still without a context) on its first call.
std::shared_ptr<AESDK_OpenGL::AESDK_OpenGL_EffectRenderData> AcquireThreadRenderData();

// The OpenGL part of GLOBAL_SETUP: the start-up window and legacy context, made between a
// save and a restore of the host's current context. Nothing of in_data is read.
PF_Err CreateSharedGLData(PF_InData* in_data);

// The OpenGL part of GLOBAL_SETDOWN: runs ReleaseGLData on a thread of its own and waits.
PF_Err DestroyGLDataOnThread();

// Destroys every render data and the start-up data on the calling thread; stores a thrown
// HostCode's code, or PF_Err_OUT_OF_MEMORY for anything else thrown, in *error.
void ReleaseGLData(PF_Err* error);
