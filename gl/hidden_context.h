#pragma once

#include <string>

#include "gl/common_data.h"
#include "platform/win32.h"

namespace AESDK_OpenGL {

struct AESDK_OpenGL_EffectRenderData;

// Gives `data` a hidden window, its device context and a context, and leaves that context
// current on the calling thread. Without `share` the context is the legacy start-up context;
// with it, an OpenGL 3.3 context sharing objects with the share's context. Whatever an
// earlier, failed start left in `data` is given back first. Throws AESDK_OpenGL_Fault.
void CreateHiddenContext(AESDK_OpenGL_EffectCommonData& data,
                         const AESDK_OpenGL_EffectCommonData* share);

// Registers a window class of a name not used before in this process (written to
// `className` before the registration) and creates an invisible 8 x 8 window of it.
HWND CreateHiddenWindow(const std::string& name, std::string& className);

// Sets the pixel format of `deviceContext` and makes a context for it, current on return:
// the legacy context without `shareContext`, a 3.3 context in its share group with it.
HGLRC CreateWGLContext(HDC deviceContext, HGLRC shareContext);

// Starts glbinding on the current context and prints the context's information.
void InitBindingAndLogInfo();

void MakeRenderDataCurrent(AESDK_OpenGL_EffectRenderData& renderData);

}  // namespace AESDK_OpenGL
