#include "render/pixel_transfer.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include <glbinding/gl/gl.h>

#include "render/owned_texture.h"
#include "shell/toolkit/errors.h"

std::mutex s_gpuTransferMutex;

namespace {

// Where the input's pixels are and how OpenGL reads them.
struct UploadSource {
    const void* pixels = nullptr;
    gl::GLenum type = gl::GL_NONE;
    size_t bytesPerPixel = 0;
};

// "PF Pixel Data Suite" 1, held for one call.
class PixelDataSuite {
  public:
    explicit PixelDataSuite(SPBasicSuite* basic) : basic_(basic) {
        const void* suite = nullptr;
        if (basic_ != nullptr) {
            basic_->AcquireSuite(kPFPixelDataSuite, kPFPixelDataSuiteVersion1, &suite);
        }
        if (suite == nullptr) {
            throw ReportedAsOutOfMemory(PF_Err_BAD_CALLBACK_PARAM);
        }
        suite_ = static_cast<const PF_PixelDataSuite1*>(suite);
    }
    ~PixelDataSuite() { basic_->ReleaseSuite(kPFPixelDataSuite, kPFPixelDataSuiteVersion1); }
    PixelDataSuite(const PixelDataSuite&) = delete;
    PixelDataSuite& operator=(const PixelDataSuite&) = delete;
    const PF_PixelDataSuite1* operator->() const { return suite_; }

  private:
    SPBasicSuite* basic_;
    const PF_PixelDataSuite1* suite_ = nullptr;
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

UploadSource FindInputPixels(PF_InData* in_data, PF_EffectWorld* input) {
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
    PixelDataSuite suite(in_data->pica_basicP);
    PF_PixelFloat* pixels = nullptr;
    const PF_Err err = suite->get_pixel_data_float(input, nullptr, &pixels);
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

// A host handle of the read-back image, locked for its whole life.
class ReadbackImage {
  public:
    ReadbackImage(SuiteHandler& suites, uint64_t size) : suites_(suites) {
        handle_ = suites_.HandleSuite2()->host_new_handle(size);
        if (handle_ == nullptr) {
            throw ReportedAsOutOfMemory(PF_Err_OUT_OF_MEMORY);
        }
        pixels_ = suites_.HandleSuite2()->host_lock_handle(handle_);
        if (pixels_ == nullptr) {
            // A lock that gave nothing is still undone before the handle goes.
            suites_.HandleSuite2()->host_unlock_handle(handle_);
            suites_.HandleSuite2()->host_dispose_handle(handle_);
            throw ReportedAsOutOfMemory(PF_Err_OUT_OF_MEMORY);
        }
    }
    ~ReadbackImage() {
        suites_.HandleSuite2()->host_unlock_handle(handle_);
        suites_.HandleSuite2()->host_dispose_handle(handle_);
    }
    ReadbackImage(const ReadbackImage&) = delete;
    ReadbackImage& operator=(const ReadbackImage&) = delete;
    unsigned char* Bytes() const { return static_cast<unsigned char*>(pixels_); }

  private:
    SuiteHandler& suites_;
    PF_Handle handle_ = nullptr;
    void* pixels_ = nullptr;
};

// Copies the overlap of the image and the output row by row; the rest of the output's pixels
// become transparent black.
void CopyIntoOutput(const unsigned char* image, A_long width, A_long height, unsigned char* target,
                    const PF_EffectWorld* output, size_t bytesPerPixel) {
    RowsArePixelAligned(output, bytesPerPixel);
    const size_t imageRow = static_cast<size_t>(width) * bytesPerPixel;
    const size_t outputRow = static_cast<size_t>(output->width) * bytesPerPixel;
    const size_t copied = std::min(imageRow, outputRow);
    for (A_long y = 0; y < output->height; ++y) {
        unsigned char* row =
            target + static_cast<size_t>(y) * static_cast<size_t>(output->rowbytes);
        size_t done = 0;
        if (y < height) {
            std::memcpy(row, image + static_cast<size_t>(y) * imageRow, copied);
            done = copied;
        }
        std::memset(row + done, 0, outputRow - done);
    }
}

}  // namespace

gl::GLuint UploadInputTexture(PF_InData* in_data, PF_EffectWorld* input, int wrapMode, int linear) {
    const UploadSource source = FindInputPixels(in_data, input);
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

    OwnedTexture texture;
    texture.Generate();
    gl::glBindTexture(gl::GL_TEXTURE_2D, texture.Get());
    const gl::GLenum filter = linear != 0 ? gl::GL_LINEAR : gl::GL_NEAREST;
    const gl::GLenum wrap = wrapMode == 1 ? gl::GL_REPEAT : gl::GL_CLAMP_TO_EDGE;
    gl::glTexParameteri(gl::GL_TEXTURE_2D, gl::GL_TEXTURE_MAG_FILTER, filter);
    gl::glTexParameteri(gl::GL_TEXTURE_2D, gl::GL_TEXTURE_MIN_FILTER, filter);
    gl::glTexParameteri(gl::GL_TEXTURE_2D, gl::GL_TEXTURE_WRAP_S, wrap);
    gl::glTexParameteri(gl::GL_TEXTURE_2D, gl::GL_TEXTURE_WRAP_T, wrap);
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
    return texture.Release();
}

void ReadBackImage(A_long width, A_long height, SuiteHandler& suites, PF_EffectWorld* input,
                   PF_EffectWorld* output, PF_InData* in_data, PF_PixelFormat format,
                   size_t bytesPerPixel, gl::GLenum glType) {
    if (format != PF_PixelFormat_ARGB32 && format != PF_PixelFormat_ARGB64 &&
        format != PF_PixelFormat_ARGB128) {
        throw ReportedAsOutOfMemory(PF_Err_BAD_CALLBACK_PARAM);
    }
    ReadbackImage image(
        suites, static_cast<uint64_t>(width) * static_cast<uint64_t>(height) * bytesPerPixel);
    gl::glReadBuffer(gl::GL_COLOR_ATTACHMENT0);
    {
        std::lock_guard<std::mutex> lock(s_gpuTransferMutex);
        gl::glReadPixels(0, 0, width, height, gl::GL_RGBA, glType, image.Bytes());
    }

    if (format == PF_PixelFormat_ARGB128) {
        ReadbackRefcon refcon = {reinterpret_cast<const float*>(image.Bytes()), input};
        const PF_Err err = suites.iterateFloatSuite1()->iterate(
            in_data, 0, input->height, input, nullptr, &refcon, ReadbackFloatPixel, output);
        if (err != PF_Err_NONE) {
            throw ReportedAsOutOfMemory(err);
        }
        return;
    }
    void* target = nullptr;
    PF_Err err = PF_Err_NONE;
    if (format == PF_PixelFormat_ARGB64) {
        PF_Pixel16* pixels = nullptr;
        err = in_data->utils->get_pixel_data16(output, nullptr, &pixels);
        target = pixels;
    } else {
        PF_Pixel8* pixels = nullptr;
        err = in_data->utils->get_pixel_data8(output, nullptr, &pixels);
        target = pixels;
    }
    CheckPixels(err, target);
    CopyIntoOutput(image.Bytes(), width, height, static_cast<unsigned char*>(target), output,
                   bytesPerPixel);
}

void ReadBackOutput(AESDK_OpenGL::AESDK_OpenGL_EffectRenderData& renderData, SuiteHandler& suites,
                    PF_EffectWorld* input, PF_EffectWorld* output, PF_InData* in_data,
                    PF_PixelFormat format, size_t bytesPerPixel, gl::GLenum glType) {
    ReadBackImage(renderData.width, renderData.height, suites, input, output, in_data, format,
                  bytesPerPixel, glType);
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
