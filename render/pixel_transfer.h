#pragma once

#include <mutex>

#include "gl/gl_object.h"
#include "host_api/suites.h"
#include "render/frame_context.h"

// Serialises the transfers between host memory and the GPU of all render threads: held
// around the one upload call and the one read-back call of a frame, and nothing else.
extern std::mutex s_gpuTransferMutex;

// The refcon of the float copy: the read-back image (four floats a pixel) and the input
// world, whose size is the image's size.
struct ReadbackRefcon {
    const float* pixels;
    const PF_EffectWorld* input;
};

// A new RGBA32F texture holding the input world's pixels in their memory order, nearest
// filtered and clamped to the edge; the depth comes from the world itself (PF_WorldFlag_DEEP,
// else whether the 8-bit pixel callback gives a pointer, else float). A failing pixel callback
// is thrown as its code (a HostCode).
AESDK_OpenGL::GlTexture UploadInputTexture(const FrameContext& frame);

// Reads the colour attachment of the bound framebuffer, the frame's width x height pixels of
// its format, into the output world. Where the output is larger than the image it gets
// transparent black; the image is never read outside its own size. The float copy steps
// through the image by the input's width.
void ReadBackOutput(const FrameContext& frame);

// The float copy's pixel function: the read-back pixel at (x, y), or transparent black where
// the read-back image has none.
PF_Err ReadbackFloatPixel(void* refcon, A_long x, A_long y, PF_PixelFloat* inPixel,
                          PF_PixelFloat* outPixel);
