#pragma once

#include <cstddef>
#include <mutex>

#include <glbinding/gl/types.h>

#include "gl/render_data.h"
#include "host_api/suites.h"
#include "shell/toolkit/suite_handler.h"

// Serialises the transfers between host memory and the GPU of all render threads: held
// around the one upload call and the one read-back call of a frame, and nothing else.
extern std::mutex s_gpuTransferMutex;

// The refcon of the float copy: the read-back image (four floats a pixel) and the input
// world, whose size is the image's size.
struct ReadbackRefcon {
    const float* pixels;
    const PF_EffectWorld* input;
};

// A new RGBA32F texture holding the input world's pixels in their memory order; the depth
// comes from the world itself (PF_WorldFlag_DEEP, else whether the 8-bit pixel callback gives
// a pointer, else float). Nearest filtering unless linear, clamped unless wrapMode is 1. The
// caller deletes the texture. A failing pixel callback is thrown as its code (a HostCode).
gl::GLuint UploadInputTexture(PF_InData* in_data, PF_EffectWorld* input, int wrapMode, int linear);

// Reads the colour attachment of the bound framebuffer, width x height pixels of the format,
// into the output world. Where the output is larger than the image it gets transparent black;
// the image is never read outside its own size. width and height are the input's: the float
// copy steps through the image by the input's width.
void ReadBackImage(A_long width, A_long height, SuiteHandler& suites, PF_EffectWorld* input,
                   PF_EffectWorld* output, PF_InData* in_data, PF_PixelFormat format,
                   size_t bytesPerPixel, gl::GLenum glType);

// ReadBackImage of the render data's prepared size: the frame's finished image.
void ReadBackOutput(AESDK_OpenGL::AESDK_OpenGL_EffectRenderData& renderData, SuiteHandler& suites,
                    PF_EffectWorld* input, PF_EffectWorld* output, PF_InData* in_data,
                    PF_PixelFormat format, size_t bytesPerPixel, gl::GLenum glType);

// The float copy's pixel function: the read-back pixel at (x, y), or transparent black where
// the read-back image has none.
PF_Err ReadbackFloatPixel(void* refcon, A_long x, A_long y, PF_PixelFloat* inPixel,
                          PF_PixelFloat* outPixel);
