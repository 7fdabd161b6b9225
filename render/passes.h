#pragma once

#include <glbinding/gl/types.h>

#include "render/frame_context.h"

// The full-frame passes of a frame and the OpenGL state they share. Each pass draws the
// render data's quad over the frame's width x height with one program of the table.

enum class BlendMode {
    // Colour by source alpha, alpha by one and one minus source alpha.
    Alpha = 1,
    Off = 3,
};

// Sets the blending of mode; a value outside the enumeration changes nothing.
void SetBlendMode(BlendMode mode);

// Draws the quad; the caller has bound its vertex array and a program.
void DrawQuad(gl::GLuint quadVertexBuffer);

// Host pixels of the texture to premultiplied RGBA, without blending.
void DrawBackgroundPass(const FrameContext& frame, gl::GLuint texture);
// A copy of the texture under SetBlendMode (blendMode); with a texture of twice the size its
// linear filtering averages each 2 x 2 block.
void DrawResolvePass(const FrameContext& frame, gl::GLuint texture, BlendMode blendMode);
// Premultiplied RGBA back to host pixels.
void DrawOutputPass(const FrameContext& frame, gl::GLuint texture);
