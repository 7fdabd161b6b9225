#include "render/pixel_transfer.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include <glbinding/gl/gl.h>

#include "shell/toolkit/errors.h"
#include "shell/toolkit/owned_handle.h"

std::mutex s_gpuTransferMutex;

namespace {

// Where the input's pixels are and how OpenGL reads them.
struct UploadSource {
    const void* pixels = nullptr;
    gl::GLenum type = gl::GL_NONE;
    size_t bytesPerPixel = 0;
};

// A pixel callback's answer: its code is the frame's error; success without pixels is a
// host fault, not something to upload from, and like every call that hands out nothing ends
// the frame as out of memory.
void CheckPixels(PF_Err err, const void* pixels) {
    if (err != PF_Err_NONE) {
        throw HostCode(err);
    }
    if (pixels == nullptr) {
        throw ReportedAsOutOfMemory(PF_Err_BAD_CALLBACK_PARAM);
    }
}

UploadSource FindInputPixels(const FrameContext& frame) {
    PF_InData* in_data = frame.in_data;
    PF_EffectWorld* input = frame.input;
    UploadSource source;
    if ((input->world_flags & PF_WorldFlag_DEEP) != 0) {
        PF_Pixel16* pixels = nullptr;
        const PF_Err err = in_data->utils->get_pixel_data16(input, nullptr, &pixels);
        CheckPixels(err, pixels);
        source = {pixels, gl::GL_UNSIGNED_SHORT, sizeof(PF_Pixel16)};
        return source;
    }
    PF_Pixel8* probe = nullptr;
    in_data->utils->get_pixel_data8(input, nullptr, &probe);
    if (probe != nullptr) {
        PF_Pixel8* pixels = nullptr;
        const PF_Err err = in_data->utils->get_pixel_data8(input, nullptr, &pixels);
        CheckPixels(err, pixels);
        source = {pixels, gl::GL_UNSIGNED_BYTE, sizeof(PF_Pixel8)};
        return source;
    }
    const PF_PixelDataSuite1* suite = frame.suites.Find<SuiteSlot::PixelDataSuite1>();
    if (suite == nullptr) {
        throw ReportedAsOutOfMemory(PF_Err_BAD_CALLBACK_PARAM);
    }
    PF_PixelFloat* pixels = nullptr;
    const PF_Err err = suite->get_pixel_data_float(input, nullptr, &pixels);
    // Held for this one call.
    frame.suites.Release(SuiteSlot::PixelDataSuite1);
    CheckPixels(err, pixels);
    source = {pixels, gl::GL_FLOAT, sizeof(PF_PixelFloat)};
    return source;
}

// The rows of a world must hold its width; rows of a length that OpenGL cannot step over
// (not a whole number of pixels) are packed before the upload.
bool RowsArePixelAligned(const PF_EffectWorld* world, size_t bytesPerPixel) {
    const int64_t used = static_cast<int64_t>(world->width) * static_cast<int64_t>(bytesPerPixel);
    if (world->rowbytes < used) {
        throw HostCode(PF_Err_BAD_CALLBACK_PARAM);
    }
    return world->rowbytes % static_cast<A_long>(bytesPerPixel) == 0;
}

// The read-back image: rows of width pixels, one after the other.
struct ImageRows {
    const unsigned char* bytes;
    A_long width;
    A_long height;
    size_t bytesPerPixel;
};

// Copies the overlap of the image and the output row by row; the rest of the output's pixels
// become transparent black.
void CopyIntoOutput(const ImageRows& image, unsigned char* target, const PF_EffectWorld* output) {
    RowsArePixelAligned(output, image.bytesPerPixel);
    const size_t imageRow = static_cast<size_t>(image.width) * image.bytesPerPixel;
    const size_t outputRow = static_cast<size_t>(output->width) * image.bytesPerPixel;
    const size_t copied = std::min(imageRow, outputRow);
    for (A_long y = 0; y < output->height; ++y) {
        unsigned char* row =
            target + static_cast<size_t>(y) * static_cast<size_t>(output->rowbytes);
        size_t done = 0;
        if (y < image.height) {
            std::memcpy(row, image.bytes + static_cast<size_t>(y) * imageRow, copied);
            done = copied;
        }
        std::memset(row + done, 0, outputRow - done);
    }
}

}  // namespace

AESDK_OpenGL::GlTexture UploadInputTexture(const FrameContext& frame) {
    const PF_EffectWorld* input = frame.input;
    const UploadSource source = FindInputPixels(frame);
    const size_t rowBytes = static_cast<size_t>(input->width) * source.bytesPerPixel;
    std::vector<unsigned char> packed;
    const void* pixels = source.pixels;
    gl::GLint rowLength = input->rowbytes / static_cast<A_long>(source.bytesPerPixel);
    if (!RowsArePixelAligned(input, source.bytesPerPixel)) {
        packed.resize(rowBytes * static_cast<size_t>(input->height));
        for (A_long y = 0; y < input->height; ++y) {
            std::memcpy(packed.data() + static_cast<size_t>(y) * rowBytes,
                        static_cast<const unsigned char*>(source.pixels) +
                            static_cast<size_t>(y) * static_cast<size_t>(input->rowbytes),
                        rowBytes);
        }
        pixels = packed.data();
        rowLength = 0;
    }

    AESDK_OpenGL::GlTexture texture = AESDK_OpenGL::GlTexture::Create();
    gl::glBindTexture(gl::GL_TEXTURE_2D, texture.Name());
    gl::glTexParameteri(gl::GL_TEXTURE_2D, gl::GL_TEXTURE_MAG_FILTER, gl::GL_NEAREST);
    gl::glTexParameteri(gl::GL_TEXTURE_2D, gl::GL_TEXTURE_MIN_FILTER, gl::GL_NEAREST);
    gl::glTexParameteri(gl::GL_TEXTURE_2D, gl::GL_TEXTURE_WRAP_S, gl::GL_CLAMP_TO_EDGE);
    gl::glTexParameteri(gl::GL_TEXTURE_2D, gl::GL_TEXTURE_WRAP_T, gl::GL_CLAMP_TO_EDGE);
    gl::glTexImage2D(gl::GL_TEXTURE_2D, 0, gl::GL_RGBA32F, input->width, input->height, 0,
                     gl::GL_RGBA, gl::GL_FLOAT, nullptr);
    gl::glPixelStorei(gl::GL_UNPACK_ROW_LENGTH, rowLength);
    {
        std::lock_guard<std::mutex> lock(s_gpuTransferMutex);
        gl::glTexSubImage2D(gl::GL_TEXTURE_2D, 0, 0, 0, input->width, input->height, gl::GL_RGBA,
                            source.type, pixels);
    }
    gl::glPixelStorei(gl::GL_UNPACK_ROW_LENGTH, 0);
    gl::glBindTexture(gl::GL_TEXTURE_2D, 0);
    return texture;
}

void ReadBackOutput(const FrameContext& frame) {
    const PixelFormatRow& format = frame.format;
    const A_long width = frame.width;
    const A_long height = frame.height;
    // Locked for its whole life.
    const NewLockedHandle image(
        &frame.suites,
        static_cast<uint64_t>(width) * static_cast<uint64_t>(height) * format.bytesPerPixel);
    if (image.Memory() == nullptr) {
        throw ReportedAsOutOfMemory(PF_Err_OUT_OF_MEMORY);
    }
    unsigned char* bytes = static_cast<unsigned char*>(image.Memory());
    gl::glReadBuffer(gl::GL_COLOR_ATTACHMENT0);
    {
        std::lock_guard<std::mutex> lock(s_gpuTransferMutex);
        gl::glReadPixels(0, 0, width, height, gl::GL_RGBA, format.glType, bytes);
    }

    PF_InData* in_data = frame.in_data;
    if (format.format == PF_PixelFormat_ARGB128) {
        ReadbackRefcon refcon = {reinterpret_cast<const float*>(bytes), frame.input};
        const PF_Err err = frame.suites.iterateFloatSuite1()->iterate(
            in_data, 0, frame.input->height, frame.input, nullptr, &refcon, ReadbackFloatPixel,
            frame.output);
        if (err != PF_Err_NONE) {
            throw ReportedAsOutOfMemory(err);
        }
        return;
    }
    void* target = nullptr;
    PF_Err err = PF_Err_NONE;
    if (format.format == PF_PixelFormat_ARGB64) {
        PF_Pixel16* pixels = nullptr;
        err = in_data->utils->get_pixel_data16(frame.output, nullptr, &pixels);
        target = pixels;
    } else {
        PF_Pixel8* pixels = nullptr;
        err = in_data->utils->get_pixel_data8(frame.output, nullptr, &pixels);
        target = pixels;
    }
    CheckPixels(err, target);
    CopyIntoOutput({bytes, width, height, format.bytesPerPixel},
                   static_cast<unsigned char*>(target), frame.output);
}

PF_Err ReadbackFloatPixel(void* refcon, A_long x, A_long y, PF_PixelFloat*,
                          PF_PixelFloat* outPixel) {
    const auto* readback = static_cast<const ReadbackRefcon*>(refcon);
    const A_long width = readback->input->width;
    if (x < 0 || y < 0 || x >= width || y >= readback->input->height) {
        *outPixel = {0.0f, 0.0f, 0.0f, 0.0f};
        return PF_Err_NONE;
    }
    const float* pixel =
        readback->pixels + (static_cast<size_t>(y) * static_cast<size_t>(width) + x) * 4;
    std::memcpy(outPixel, pixel, sizeof(PF_PixelFloat));
    return PF_Err_NONE;
}
