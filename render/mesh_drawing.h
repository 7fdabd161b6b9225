#pragma once

#include <glbinding/gl/types.h>

#include "gl/gl_object.h"
#include "host_api/drawbot.h"
#include "host_api/effect.h"
#include "ramp/ramp.h"
#include "render/frame_context.h"
#include "render/mesh_vertex.h"

// Texels of a ramp lookup texture: texel i holds the ramp at i / 2047.
constexpr int kRampTextureSize = 2048;

// Draws the frame's mesh (counts.triangleIndexCount above 0) with the distortion program over
// what the target holds: the 30 uniforms from the settings, the four ramp lookups on units 1
// to 4, the input on unit 0. Leaves no program in use and blending off.
void DrawDistortedMesh(const FrameContext& frame, const MeshIndexCounts& counts,
                       gl::GLuint inputTexture);

// A new 2048 x 1 single-channel float texture of the ramp's values, linear, repeating when
// loop is 1 and clamped otherwise.
AESDK_OpenGL::GlTexture MakeRampTexture(const Ramp& ramp, int loop);

// The frame's animation phase in [0, 1).
double AnimationPhase(const PF_InData* in_data, const RenderSettings& settings);

// The wireframe overlay: every triangle edge of alternate strips in the host's type-2 colour
// and in its mix with the background colour, each over a background-coloured copy one pixel
// off, and the line indices in red.
void DrawWireframePreview(const FrameContext& frame, const MeshIndexCounts& counts);

// The host interface's background colour and type-2 colour; either may be null.
void GetHostColors(PF_InData* in_data, PF_OutData* out_data, DRAWBOT_ColorRGBA* background,
                   DRAWBOT_ColorRGBA* type2Colour);
