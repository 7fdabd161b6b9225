#pragma once

#include <glbinding/gl/types.h>

#include "gl/render_data.h"
#include "host_api/effect.h"

// The full-frame passes of a frame and the OpenGL state they share. Each pass draws the
// render data's quad over a width x height target with one program of the table.

// 1: alpha blending (colour by source alpha, alpha by one and one minus source alpha);
// 3: blending off; any other mode changes nothing.
void SetBlendMode(int mode);

// Draws the quad; the caller has bound its vertex array and a program.
void DrawQuad(gl::GLuint quadVertexBuffer);

// Host pixels of the texture to premultiplied RGBA, without blending.
void DrawBackgroundPass(AESDK_OpenGL::AESDK_OpenGL_EffectRenderData& renderData, int width,
                        int height, gl::GLuint texture, float multiplier16bit);
// A copy of the texture under SetBlendMode (blendMode); with a texture of twice the size its
// linear filtering averages each 2 x 2 block.
void DrawResolvePass(AESDK_OpenGL::AESDK_OpenGL_EffectRenderData& renderData, int width, int height,
                     gl::GLuint texture, int blendMode);
// Premultiplied RGBA back to host pixels.
void DrawOutputPass(AESDK_OpenGL::AESDK_OpenGL_EffectRenderData& renderData, int width, int height,
                    gl::GLuint texture, float multiplier16bit);
