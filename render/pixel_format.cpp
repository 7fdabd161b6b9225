#include "render/pixel_format.h"

#include <glbinding/gl/enum.h>

#include "shell/toolkit/errors.h"

namespace {

// 16-bit channels run from 0 to 32768, but OpenGL normalises unsigned shorts by 65535.
constexpr float kMultiplier16 = 65535.0f / 32768.0f;

constexpr PixelFormatRow kPixelFormats[] = {
    {PF_PixelFormat_ARGB32, gl::GL_UNSIGNED_BYTE, 4, 1.0f},
    {PF_PixelFormat_ARGB64, gl::GL_UNSIGNED_SHORT, 8, kMultiplier16},
    {PF_PixelFormat_ARGB128, gl::GL_FLOAT, 16, 1.0f},
};

}  // namespace

const PixelFormatRow& GetPixelFormatInfo(PF_PixelFormat format) {
    for (const PixelFormatRow& row : kPixelFormats) {
        if (row.format == format) {
            return row;
        }
    }
    throw ReportedAsOutOfMemory(PF_Err_BAD_CALLBACK_PARAM);
}
