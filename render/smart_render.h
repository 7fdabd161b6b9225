#pragma once

#include "gl/render_data.h"
#include "host_api/effect.h"
#include "shell/params/render_settings.h"
#include "shell/toolkit/suite_handler.h"

// PF_Cmd_SMART_RENDER: one frame from the input layer into the output world. Returns the
// frame's first error; whatever happened, the host's OpenGL context is current again and
// exactly what was checked out or acquired is given back.
PF_Err SmartRender(PF_InData* in_data, PF_OutData* out_data, PF_SmartRenderExtra* extra);

// The main pass: background and mesh into the main texture (at twice the size with
// supersampling), resolved into the first pass texture.
void RenderMeshPass(PF_InData* in_data, PF_OutData* out_data, SuiteHandler& suites,
                    AESDK_OpenGL::AESDK_OpenGL_EffectRenderData& renderData, PF_EffectWorld* input,
                    PF_EffectWorld* output, const RenderSettings& settings, float multiplier16bit);

// Ends the frame with an error code (thrown as a HostCode) when its size is not one the GPU can
// hold: a side of 0 or below, of 65536 or more, or beyond the context's texture and viewport
// limits, counting the doubled main texture when supersampling. Needs a current context.
void CheckFrameFits(A_long width, A_long height, bool supersample);
