#pragma once

#include "gl/render_data.h"
#include "host_api/effect.h"
#include "render/pixel_format.h"
#include "shell/params/render_settings.h"
#include "shell/toolkit/suite_handler.h"

// What the passes of one frame read: the host's records and the call's suite cache, the
// parameter snapshot, the two worlds, the input's pixel format, the calling thread's render
// data (its context current) and the frame's geometry. The frame owns everything referred to;
// tests build one from their own parts.
struct FrameContext {
    PF_InData* in_data;
    PF_OutData* out_data;
    SuiteHandler& suites;
    const RenderSettings& settings;
    PF_EffectWorld* input;
    PF_EffectWorld* output;
    const PixelFormatRow& format;
    AESDK_OpenGL::AESDK_OpenGL_EffectRenderData& renderData;
    // The input's size, which the render data is prepared for.
    int width;
    int height;
    // The output world's origin, where the masks' coordinates start.
    float originX;
    float originY;
    // "Multisample Anti-aliasing": the main texture is twice the size each way.
    bool supersample;
};
