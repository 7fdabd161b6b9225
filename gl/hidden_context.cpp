#include "gl/hidden_context.h"

#include "gl/binding_lock.h"
#include "gl/render_data.h"
#include "shell/toolkit/errors.h"

namespace AESDK_OpenGL {

void CreateHiddenContext(AESDK_OpenGL_EffectCommonData& data,
                         const AESDK_OpenGL_EffectCommonData* share) {
    // A render thread whose start failed tries again on its next frame; what the failed
    // attempt left behind (window, class, device context) is given back before anew.
    data.ReleaseHiddenSurface();

    // A share without a context would silently give this thread a legacy context.
    if (share != nullptr && share->renderContext == nullptr) {
        throw AESDK_OpenGL_Fault(kFaultWindowOrContext);
    }
    const std::string name = "Quorvel";
    data.window = CreateHiddenWindow(name, data.windowClassName);
    data.deviceContext = GetDC(data.window);
    data.renderContext =
        CreateWGLContext(data.deviceContext, share != nullptr ? share->renderContext : nullptr);
    wglMakeCurrent(data.deviceContext, data.renderContext);
    InitBindingAndLogInfo();
}

void MakeRenderDataCurrent(AESDK_OpenGL_EffectRenderData& renderData) {
    wglMakeCurrent(renderData.deviceContext, renderData.renderContext);
    UseCurrentContext();
}

}  // namespace AESDK_OpenGL
