#pragma once

#include <cstddef>

#include <glbinding/gl/types.h>

#include "host_api/effect.h"

// What OpenGL needs to know about one of the host's three pixel formats. Throws
// ReportedAsOutOfMemory(PF_Err_BAD_CALLBACK_PARAM) for any other format; multiplier16bit is
// 1.0 before the format is looked at.
void GetPixelFormatInfo(PF_PixelFormat format, size_t& bytesPerPixel, gl::GLenum& glType,
                        float& multiplier16bit);
