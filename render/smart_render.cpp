#include "render/smart_render.h"

#include <algorithm>
#include <cstdint>

#include <glbinding/gl/gl.h>

#include "gl/binding_lock.h"
#include "gl/context_guard.h"
#include "gl/framebuffer.h"
#include "gl/hidden_context.h"
#include "gl/render_data_registry.h"
#include "gl/render_resources.h"
#include "render/mesh_builder.h"
#include "render/mesh_drawing.h"
#include "render/owned_texture.h"
#include "render/passes.h"
#include "render/pixel_format.h"
#include "render/pixel_transfer.h"
#include "shell/params/param_index.h"
#include "shell/toolkit/aefx_suite.h"
#include "shell/toolkit/errors.h"
#include "shell/toolkit/failure_conversion.h"

namespace {

// The render data keeps the frame's size in 16 bits.
constexpr A_long kLargestSide = 65535;

// The frame's first error: a later code counts only while nothing has failed.
void KeepFirst(PF_Err& error, PF_Err code) {
    if (error == PF_Err_NONE) {
        error = code;
    }
}

// Everything of the frame that needs OpenGL, on the calling thread's own context.
void RenderOnGpu(PF_InData* in_data, PF_OutData* out_data, SuiteHandler& suites,
                 const RenderSettings& settings, const PF_WorldSuite2* worldSuite,
                 PF_EffectWorld* input, PF_EffectWorld* output) {
    AESDK_OpenGL::AESDK_OpenGL_ContextGuard guard;
    std::shared_ptr<AESDK_OpenGL::AESDK_OpenGL_EffectRenderData> renderData =
        AcquireThreadRenderData();
    if (renderData->started == 0) {
        // Without the start-up context of GLOBAL_SETUP there is nothing to share with, and a
        // context made without a share would be the legacy kind, not one the programs run on.
        const std::shared_ptr<AESDK_OpenGL::AESDK_OpenGL_EffectCommonData> shared = s_sharedGLData;
        if (shared == nullptr || shared->renderContext == nullptr) {
            throw AESDK_OpenGL::AESDK_OpenGL_Fault(AESDK_OpenGL::kFaultWindowOrContext);
        }
        AESDK_OpenGL::CreateHiddenContext(*renderData, shared.get());
        renderData->started = 1;
    }
    AESDK_OpenGL::MakeRenderDataCurrent(*renderData);
    // From here on OpenGL calls: a thread that starts its context meanwhile waits for them.
    const AESDK_OpenGL::BindingUseScope bindingUse;

    const A_long width = input->width;
    const A_long height = input->height;
    const bool supersample = settings.multisampleAntiAliasing != 0;
    CheckFrameFits(width, height, supersample);
    AESDK_OpenGL::PrepareRenderResources(*renderData, static_cast<uint16_t>(width),
                                         static_cast<uint16_t>(height),
                                         settings.multisampleAntiAliasing);

    PF_PixelFormat format = 0;
    const PF_Err formatErr = worldSuite->PF_GetPixelFormat(input, &format);
    if (formatErr != PF_Err_NONE) {
        throw ReportedAsOutOfMemory(formatErr);
    }
    size_t bytesPerPixel = 0;
    gl::GLenum glType = gl::GL_NONE;
    float multiplier16bit = 1.0f;
    GetPixelFormatInfo(format, bytesPerPixel, glType, multiplier16bit);

    AESDK_OpenGL::AttachRenderTexture(*renderData, renderData->passTextures[0].Name());
    gl::glViewport(0, 0, width, height);
    gl::glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    gl::glClear(gl::GL_COLOR_BUFFER_BIT);

    RenderMeshPass(in_data, out_data, suites, *renderData, input, output, settings,
                   multiplier16bit);

    AESDK_OpenGL::AttachRenderTexture(*renderData, renderData->passTextures[1].Name());
    gl::glClear(gl::GL_COLOR_BUFFER_BIT);
    DrawOutputPass(*renderData, width, height, renderData->passTextures[0].Name(), multiplier16bit);
    ReadBackOutput(*renderData, suites, input, output, in_data, format, bytesPerPixel, glType);
    gl::glBindFramebuffer(gl::GL_FRAMEBUFFER, 0);
    gl::glBindTexture(gl::GL_TEXTURE_2D, 0);
}

}  // namespace

void CheckFrameFits(A_long width, A_long height, bool supersample) {
    if (width <= 0 || height <= 0) {
        throw HostCode(PF_Err_BAD_CALLBACK_PARAM);
    }
    gl::GLint textureLimit = 0;
    gl::GLint viewportLimits[2] = {0, 0};
    gl::glGetIntegerv(gl::GL_MAX_TEXTURE_SIZE, &textureLimit);
    gl::glGetIntegerv(gl::GL_MAX_VIEWPORT_DIMS, viewportLimits);
    const int64_t factor = supersample ? 2 : 1;
    const int64_t widthLimit = std::min<int64_t>(textureLimit, viewportLimits[0]);
    const int64_t heightLimit = std::min<int64_t>(textureLimit, viewportLimits[1]);
    if (width > kLargestSide || height > kLargestSide || width * factor > widthLimit ||
        height * factor > heightLimit) {
        throw HostCode(PF_Err_OUT_OF_MEMORY);
    }
}

void RenderMeshPass(PF_InData* in_data, PF_OutData* out_data, SuiteHandler& suites,
                    AESDK_OpenGL::AESDK_OpenGL_EffectRenderData& renderData, PF_EffectWorld* input,
                    PF_EffectWorld* output, const RenderSettings& settings, float multiplier16bit) {
    const int width = input->width;
    const int height = input->height;
    const float originX = static_cast<float>(output->origin_x);
    const float originY = static_cast<float>(output->origin_y);
    const bool supersample = settings.multisampleAntiAliasing != 0;

    OwnedTexture inputTexture(UploadInputTexture(in_data, input, 0, 0));
    const MeshIndexCounts counts =
        BuildMesh(in_data, suites, renderData, settings, originX, originY, width, height);

    AESDK_OpenGL::AttachRenderTexture(renderData, renderData.mainTexture.Name());
    if (supersample) {
        gl::glViewport(0, 0, 2 * width, 2 * height);
    }
    gl::glClear(gl::GL_COLOR_BUFFER_BIT);
    if (settings.backgroundBlendMode == BackgroundMode_Normal ||
        settings.backgroundBlendMode == BackgroundMode_Blend) {
        DrawBackgroundPass(renderData, width, height, inputTexture.Get(), multiplier16bit);
    }
    if (counts.triangleIndexCount > 0) {
        if (settings.backgroundBlendMode == BackgroundMode_None ||
            settings.backgroundBlendMode == BackgroundMode_Normal) {
            gl::glDisable(gl::GL_BLEND);
        } else if (settings.backgroundBlendMode == BackgroundMode_Blend) {
            gl::glEnable(gl::GL_BLEND);
            gl::glBlendFunc(gl::GL_ONE, gl::GL_ONE_MINUS_SRC_ALPHA);
        }
        DrawDistortedMesh(in_data, suites, renderData, settings, width, height,
                          counts.triangleIndexCount, inputTexture.Get(), multiplier16bit);
        if (settings.previewWireframeMesh != 0) {
            DrawWireframePreview(in_data, out_data, suites, renderData, settings, width, height,
                                 counts.triangleIndexCount, counts.lineIndexCount);
        }
    }
    inputTexture.Adopt(0);
    if (supersample) {
        gl::glViewport(0, 0, width, height);
    }
    AESDK_OpenGL::AttachRenderTexture(renderData, renderData.passTextures[0].Name());
    gl::glClear(gl::GL_COLOR_BUFFER_BIT);
    DrawResolvePass(renderData, width, height, renderData.mainTexture.Name(), 3);
}

PF_Err SmartRender(PF_InData* in_data, PF_OutData* out_data, PF_SmartRenderExtra* extra) {
    if (extra == nullptr || extra->cb == nullptr || extra->cb->checkout_layer_pixels == nullptr ||
        extra->cb->checkout_output == nullptr || extra->cb->checkin_layer_pixels == nullptr) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    // Built first: without a basic suite nothing is checked out that would need giving back.
    SuiteHandler suites(in_data->pica_basicP);
    RenderSettings settings{};
    settings.inData = in_data;
    PF_Err error = settings.CheckoutAll();

    PF_EffectWorld* input = nullptr;
    PF_EffectWorld* output = nullptr;
    const void* worldSuite = nullptr;
    bool inputCheckedOut = false;
    bool worldSuiteAcquired = false;
    if (error == PF_Err_NONE) {
        error = extra->cb->checkout_layer_pixels(in_data->effect_ref, 0, &input);
        inputCheckedOut = error == PF_Err_NONE;
    }
    if (error == PF_Err_NONE) {
        error = extra->cb->checkout_output(in_data->effect_ref, &output);
    }
    if (error == PF_Err_NONE && (input == nullptr || output == nullptr)) {
        error = PF_Err_INTERNAL_STRUCT_DAMAGED;
    }
    if (error == PF_Err_NONE) {
        error = AEFX_AcquireSuite(in_data, out_data, kPFWorldSuite, kPFWorldSuiteVersion2,
                                  "Couldn't load suite.", &worldSuite);
        worldSuiteAcquired = error == PF_Err_NONE;
    }
    if (error == PF_Err_NONE) {
        error = ConvertFailuresToCode([&] {
            RenderOnGpu(in_data, out_data, suites, settings,
                        static_cast<const PF_WorldSuite2*>(worldSuite), input, output);
            return PF_Err_NONE;
        });
    }
    if (error == PF_Err_NONE && in_data->inter.abort != nullptr) {
        error = in_data->inter.abort(in_data->effect_ref);
    }

    if (worldSuiteAcquired) {
        KeepFirst(error, AEFX_ReleaseSuite(in_data, out_data, kPFWorldSuite, kPFWorldSuiteVersion2,
                                           "Couldn't release suite."));
    }
    KeepFirst(error, settings.CheckinAll(in_data));
    if (inputCheckedOut) {
        KeepFirst(error, extra->cb->checkin_layer_pixels(in_data->effect_ref, 0));
    }
    return error;
}
