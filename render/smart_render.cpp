#include "render/smart_render.h"

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <memory>

#include <glbinding/gl/gl.h>

#include "gl/binding_lock.h"
#include "gl/context_guard.h"
#include "gl/framebuffer.h"
#include "gl/hidden_context.h"
#include "gl/render_data_registry.h"
#include "gl/render_resources.h"
#include "render/frame_context.h"
#include "render/mesh_builder.h"
#include "render/mesh_drawing.h"
#include "render/passes.h"
#include "render/pixel_format.h"
#include "render/pixel_transfer.h"
#include "shell/params/param_index.h"
#include "shell/params/render_settings.h"
#include "shell/toolkit/errors.h"
#include "shell/toolkit/suite_handler.h"

namespace {

// The input layer, checked out under id 0 (the one SMART_PRE_RENDER asked for) and checked in
// once: by Checkin, or at the end of the scope.
class LayerCheckout {
  public:
    LayerCheckout(PF_InData* in_data, const PF_SmartRenderCallbacks* callbacks)
        : inData_(in_data), callbacks_(callbacks) {}
    ~LayerCheckout() { Checkin(); }
    LayerCheckout(const LayerCheckout&) = delete;
    LayerCheckout& operator=(const LayerCheckout&) = delete;

    PF_Err Checkout();
    // The host's answer, or PF_Err_NONE when nothing is checked out.
    PF_Err Checkin();
    PF_EffectWorld* World() const { return world_; }

  private:
    PF_InData* inData_;
    const PF_SmartRenderCallbacks* callbacks_;
    PF_EffectWorld* world_ = nullptr;
    bool held_ = false;
};

// What one frame takes from the host, taken in the host's order: the call's suite cache, the
// parameter snapshot, the input layer, the output and the World suite. A step that fails ends
// the construction with its code (a HostCode). Finish gives everything back in the host's
// order (World suite, parameters, layer, then the cache) and returns the frame's first error;
// when an exception ends the frame instead, the destructors give back the same in the same
// order, and their answers count for nothing, the exception's code being the first error.
class Frame {
  public:
    Frame(PF_InData* in_data, PF_OutData* out_data, const PF_SmartRenderCallbacks* callbacks);
    ~Frame() { suites_.Release(SuiteSlot::WorldSuite2); }
    Frame(const Frame&) = delete;
    Frame& operator=(const Frame&) = delete;

    const PF_EffectWorld& Input() const { return *input_.World(); }
    const RenderSettings& Settings() const { return settings_; }
    // The input's pixel format as the host reports it; a failing call ends the frame as out of
    // memory.
    PF_PixelFormat InputPixelFormat() const;
    // What the passes read, drawing with renderData in the input's format.
    FrameContext Context(AESDK_OpenGL::AESDK_OpenGL_EffectRenderData& renderData,
                         const PixelFormatRow& format);
    PF_Err Finish(PF_Err error);

  private:
    PF_InData* inData_;
    PF_OutData* outData_;
    // Destroyed in the reverse order: the World suite (by the destructor's body), the
    // parameters, the layer, the cache.
    SuiteHandler suites_;
    LayerCheckout input_;
    RenderSettings settings_{};
    PF_EffectWorld* output_ = nullptr;
    const PF_WorldSuite2* worldSuite_ = nullptr;
};

void RenderOnGpu(Frame& frame);
void StartThreadContext(AESDK_OpenGL::AESDK_OpenGL_EffectRenderData& renderData);
void CheckFrameFits(A_long width, A_long height, bool supersample);
void RenderMeshPass(const FrameContext& frame);
void DrawMainTexture(const FrameContext& frame);

// The first of the codes that is not PF_Err_NONE.
PF_Err FirstError(std::initializer_list<PF_Err> codes) {
    for (const PF_Err code : codes) {
        if (code != PF_Err_NONE) {
            return code;
        }
    }
    return PF_Err_NONE;
}

}  // namespace

PF_Err SmartRender(PF_InData* in_data, PF_OutData* out_data, PF_SmartRenderExtra* extra) {
    if (extra == nullptr || extra->cb == nullptr || extra->cb->checkout_layer_pixels == nullptr ||
        extra->cb->checkout_output == nullptr || extra->cb->checkin_layer_pixels == nullptr) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    Frame frame(in_data, out_data, extra->cb);
    RenderOnGpu(frame);
    const PF_Err cancelled =
        in_data->inter.abort != nullptr ? in_data->inter.abort(in_data->effect_ref) : PF_Err_NONE;
    return frame.Finish(cancelled);
}

namespace {

Frame::Frame(PF_InData* in_data, PF_OutData* out_data, const PF_SmartRenderCallbacks* callbacks)
    // The cache comes first: without a basic suite nothing is checked out.
    : inData_(in_data),
      outData_(out_data),
      suites_(in_data->pica_basicP),
      input_(in_data, callbacks) {
    settings_.inData = in_data;
    const PF_Err snapshot = settings_.CheckoutAll();
    if (snapshot != PF_Err_NONE) {
        throw HostCode(snapshot);
    }
    const PF_Err layer = input_.Checkout();
    if (layer != PF_Err_NONE) {
        throw HostCode(layer);
    }
    const PF_Err output = callbacks->checkout_output(in_data->effect_ref, &output_);
    if (output != PF_Err_NONE) {
        throw HostCode(output);
    }
    if (input_.World() == nullptr || output_ == nullptr) {
        throw HostCode(PF_Err_INTERNAL_STRUCT_DAMAGED);
    }
    worldSuite_ =
        suites_.AcquireAnnounced<SuiteSlot::WorldSuite2>(in_data, out_data, "Couldn't load suite.");
    if (worldSuite_ == nullptr) {
        throw HostCode(PF_Err_BAD_CALLBACK_PARAM);
    }
}

PF_PixelFormat Frame::InputPixelFormat() const {
    PF_PixelFormat format = 0;
    const PF_Err err = worldSuite_->PF_GetPixelFormat(input_.World(), &format);
    if (err != PF_Err_NONE) {
        throw ReportedAsOutOfMemory(err);
    }
    return format;
}

FrameContext Frame::Context(AESDK_OpenGL::AESDK_OpenGL_EffectRenderData& renderData,
                            const PixelFormatRow& format) {
    PF_EffectWorld* input = input_.World();
    return FrameContext{inData_,
                        outData_,
                        suites_,
                        settings_,
                        input,
                        output_,
                        format,
                        renderData,
                        input->width,
                        input->height,
                        static_cast<float>(output_->origin_x),
                        static_cast<float>(output_->origin_y),
                        settings_.multisampleAntiAliasing != 0};
}

PF_Err Frame::Finish(PF_Err error) {
    suites_.Release(SuiteSlot::WorldSuite2);
    return FirstError({error, settings_.CheckinAll(inData_), input_.Checkin()});
}

PF_Err LayerCheckout::Checkout() {
    const PF_Err err = callbacks_->checkout_layer_pixels(inData_->effect_ref, 0, &world_);
    held_ = err == PF_Err_NONE;
    return err;
}

PF_Err LayerCheckout::Checkin() {
    if (!held_) {
        return PF_Err_NONE;
    }
    held_ = false;
    return callbacks_->checkin_layer_pixels(inData_->effect_ref, 0);
}

// Everything of the frame that needs OpenGL, on the calling thread's own context.
void RenderOnGpu(Frame& frame) {
    AESDK_OpenGL::AESDK_OpenGL_ContextGuard guard;
    const std::shared_ptr<AESDK_OpenGL::AESDK_OpenGL_EffectRenderData> renderData =
        AcquireThreadRenderData();
    StartThreadContext(*renderData);
    AESDK_OpenGL::MakeRenderDataCurrent(*renderData);
    // From here on OpenGL calls: a thread that starts its context meanwhile waits for them.
    const AESDK_OpenGL::BindingUseScope bindingUse;

    const A_long width = frame.Input().width;
    const A_long height = frame.Input().height;
    const bool supersample = frame.Settings().multisampleAntiAliasing != 0;
    CheckFrameFits(width, height, supersample);
    AESDK_OpenGL::PrepareRenderResources(*renderData, static_cast<uint16_t>(width),
                                         static_cast<uint16_t>(height), supersample);
    const FrameContext context =
        frame.Context(*renderData, GetPixelFormatInfo(frame.InputPixelFormat()));

    AESDK_OpenGL::AttachRenderTexture(*renderData, renderData->passTextures[0].Name());
    gl::glViewport(0, 0, width, height);
    gl::glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    gl::glClear(gl::GL_COLOR_BUFFER_BIT);
    RenderMeshPass(context);

    AESDK_OpenGL::AttachRenderTexture(*renderData, renderData->passTextures[1].Name());
    gl::glClear(gl::GL_COLOR_BUFFER_BIT);
    DrawOutputPass(context, renderData->passTextures[0].Name());
    ReadBackOutput(context);
    gl::glBindFramebuffer(gl::GL_FRAMEBUFFER, 0);
    gl::glBindTexture(gl::GL_TEXTURE_2D, 0);
}

// The thread's own context, made on its first frame.
void StartThreadContext(AESDK_OpenGL::AESDK_OpenGL_EffectRenderData& renderData) {
    if (renderData.started != 0) {
        return;
    }
    // Without the start-up context of GLOBAL_SETUP there is nothing to share with, and a
    // context made without a share would be the legacy kind, not one the programs run on.
    const std::shared_ptr<AESDK_OpenGL::AESDK_OpenGL_EffectCommonData> shared = s_sharedGLData;
    if (shared == nullptr || shared->renderContext == nullptr) {
        throw AESDK_OpenGL::AESDK_OpenGL_Fault(AESDK_OpenGL::kFaultWindowOrContext);
    }
    AESDK_OpenGL::CreateHiddenContext(renderData, shared.get());
    renderData.started = 1;
}

// Ends the frame with an error code (thrown as a HostCode) when its size is not one the GPU can
// hold: a side of 0 or below, of 65536 or more, or beyond the context's texture and viewport
// limits, counting the doubled main texture when supersampling. Needs a current context.
void CheckFrameFits(A_long width, A_long height, bool supersample) {
    // The render data keeps the frame's size in 16 bits.
    constexpr A_long kLargestSide = 65535;
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

// The main pass: background and mesh into the main texture (at twice the size with
// supersampling), resolved into the first pass texture.
void RenderMeshPass(const FrameContext& frame) {
    DrawMainTexture(frame);
    if (frame.supersample) {
        gl::glViewport(0, 0, frame.width, frame.height);
    }
    AESDK_OpenGL::AttachRenderTexture(frame.renderData, frame.renderData.passTextures[0].Name());
    gl::glClear(gl::GL_COLOR_BUFFER_BIT);
    DrawResolvePass(frame, frame.renderData.mainTexture.Name(), BlendMode::Off);
}

// The background and the mesh, drawn from the input texture, which lives only here.
void DrawMainTexture(const FrameContext& frame) {
    const RenderSettings& settings = frame.settings;
    const AESDK_OpenGL::GlTexture inputTexture = UploadInputTexture(frame);
    const MeshIndexCounts counts = BuildMesh(frame);

    AESDK_OpenGL::AttachRenderTexture(frame.renderData, frame.renderData.mainTexture.Name());
    if (frame.supersample) {
        gl::glViewport(0, 0, 2 * frame.width, 2 * frame.height);
    }
    gl::glClear(gl::GL_COLOR_BUFFER_BIT);
    if (settings.backgroundBlendMode == BackgroundMode_Normal ||
        settings.backgroundBlendMode == BackgroundMode_Blend) {
        DrawBackgroundPass(frame, inputTexture.Name());
    }
    if (counts.triangleIndexCount <= 0) {
        return;
    }
    if (settings.backgroundBlendMode == BackgroundMode_None ||
        settings.backgroundBlendMode == BackgroundMode_Normal) {
        gl::glDisable(gl::GL_BLEND);
    } else if (settings.backgroundBlendMode == BackgroundMode_Blend) {
        gl::glEnable(gl::GL_BLEND);
        gl::glBlendFunc(gl::GL_ONE, gl::GL_ONE_MINUS_SRC_ALPHA);
    }
    DrawDistortedMesh(frame, counts, inputTexture.Name());
    if (settings.previewWireframeMesh != 0) {
        DrawWireframePreview(frame, counts);
    }
}

}  // namespace
