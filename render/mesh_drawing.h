#pragma once

#include <glbinding/gl/types.h>

#include "gl/render_data.h"
#include "host_api/suites.h"
#include "ramp/ramp.h"
#include "shell/params/render_settings.h"
#include "shell/toolkit/suite_handler.h"

// Texels of a ramp lookup texture: texel i holds the ramp at i / 2047.
constexpr int kRampTextureSize = 2048;

// Draws the frame's mesh with the distortion program over what the target holds: the 30
// uniforms from the settings, the four ramp lookups on units 1 to 4, the input on unit 0.
// Leaves no program in use and blending off.
void DrawDistortedMesh(PF_InData* in_data, SuiteHandler& suites,
                       AESDK_OpenGL::AESDK_OpenGL_EffectRenderData& renderData,
                       const RenderSettings& settings, int width, int height,
                       int triangleIndexCount, gl::GLuint inputTexture, float multiplier16bit);

// A new 2048 x 1 single-channel float texture of the ramp's values, linear, repeating when
// loop is 1 and clamped otherwise. The caller deletes it.
gl::GLuint MakeRampTexture(PF_InData* in_data, const Ramp& ramp, int loop);

// The frame's animation phase in [0, 1).
double AnimationPhase(const PF_InData* in_data, const RenderSettings& settings);

// The wireframe overlay: every triangle edge of alternate strips in the host's type-2 colour
// and in its mix with the background colour, each over a background-coloured copy one pixel
// off, and the line indices in red.
void DrawWireframePreview(PF_InData* in_data, PF_OutData* out_data, SuiteHandler& suites,
                          AESDK_OpenGL::AESDK_OpenGL_EffectRenderData& renderData,
                          const RenderSettings& settings, int width, int height,
                          int triangleIndexCount, int lineIndexCount);

// The host interface's background colour and type-2 colour as RGBA floats (alpha 1); either
// may be null.
void GetHostColors(PF_InData* in_data, PF_OutData* out_data, float background[4],
                   float type2Colour[4]);

// A host interface colour as RGBA floats, 65535 being 1.
void HostColorToFloats(const PF_App_Color& color, float out[4]);
