#pragma once

#include <cstddef>

#include <glbinding/gl/types.h>

#include "host_api/effect.h"

// What OpenGL needs to know about one of the host's three pixel formats.
struct PixelFormatRow {
    PF_PixelFormat format;
    gl::GLenum glType;
    size_t bytesPerPixel;
    // The factor that brings 16-bit channels (0 to 32768) to 0 to 1 once OpenGL has divided
    // them by 65535; 1.0 for the other depths.
    float multiplier16bit;
};

// The row of format; any other format raises ReportedAsOutOfMemory(PF_Err_BAD_CALLBACK_PARAM).
const PixelFormatRow& GetPixelFormatInfo(PF_PixelFormat format);
