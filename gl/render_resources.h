#pragma once

#include <cstdint>

#include "gl/render_data.h"

namespace AESDK_OpenGL {

// Makes the render data's objects fit a frame of width x height: the quad, the framebuffer,
// the main texture (twice the size each way with supersampling), the two pass textures and
// any program not built yet. Only what no longer fits is made anew. Throws
// AESDK_OpenGL_Fault 6 when a program cannot be built.
void PrepareRenderResources(AESDK_OpenGL_EffectRenderData& renderData, std::uint16_t width,
                            std::uint16_t height, bool supersample);

}  // namespace AESDK_OpenGL
