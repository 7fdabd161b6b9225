#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include <glbinding/gl/gl.h>
#include <gtest/gtest.h>

#include "host/pixel_access.h"
#include "host/world.h"
#include "render/frame_context.h"
#include "render/pixel_format.h"
#include "render/pixel_transfer.h"
#include "shell/toolkit/errors.h"
#include "shell/toolkit/suite_handler.h"
#include "tests/support/egl_context.h"

namespace {

using quorvel::host::Depth;
using quorvel::host::PixelValue;
using quorvel::host::World;

// Just enough of a host for the transfers: handles from malloc, the pixel callbacks and the
// float iteration of the replacement host, and counts of what is still held.
struct TransferHost {
    static int liveHandles;
    static int heldSuites;
    static bool noPixelDataSuite;

    static PF_Handle NewHandle(uint64_t size) {
        void** handle = static_cast<void**>(std::malloc(sizeof(void*)));
        *handle = std::malloc(size == 0 ? 1 : size);
        ++liveHandles;
        return handle;
    }
    static void* Lock(PF_Handle handle) { return *handle; }
    static void Unlock(PF_Handle) {}
    static void Dispose(PF_Handle handle) {
        std::free(*handle);
        std::free(handle);
        --liveHandles;
    }
    static SPErr Acquire(const char* name, A_long version, const void** suite) {
        static const PF_HandleSuite2 handles = {NewHandle, Lock, Unlock, Dispose, nullptr, nullptr};
        static const PF_PixelDataSuite1 pixels = {quorvel::host::GetPixelData8,
                                                  quorvel::host::GetPixelData16,
                                                  quorvel::host::GetPixelDataFloat};
        static const PF_iterateFloatSuite1 iterate = {quorvel::host::IterateFloat};
        const std::map<std::string, const void*> suites = {
            {"PF Handle Suite 2", &handles},
            {"PF Pixel Data Suite 1", noPixelDataSuite ? nullptr : &pixels},
            {"PF iterateFloat Suite 1", &iterate},
        };
        const auto found = suites.find(std::string(name) + " " + std::to_string(version));
        *suite = found == suites.end() ? nullptr : found->second;
        if (*suite == nullptr) {
            return 1;
        }
        ++heldSuites;
        return 0;
    }
    static SPErr Release(const char*, A_long) {
        --heldSuites;
        return 0;
    }

    TransferHost() {
        utils.get_pixel_data8 = quorvel::host::GetPixelData8;
        utils.get_pixel_data16 = quorvel::host::GetPixelData16;
        basic.AcquireSuite = Acquire;
        basic.ReleaseSuite = Release;
        inData.utils = &utils;
        inData.pica_basicP = &basic;
    }

    PF_UtilCallbacks utils{};
    SPBasicSuite basic{};
    PF_InData inData{};
};
int TransferHost::liveHandles = 0;
int TransferHost::heldSuites = 0;
bool TransferHost::noPixelDataSuite = false;

// A pattern that uses every channel differently, in the depth's own units.
PixelValue PatternAt(Depth depth, A_long x, A_long y) {
    const float white = quorvel::host::WhiteOf(depth);
    PixelValue value;
    for (int c = 0; c < 4; ++c) {
        const int step = (x * 7 + y * 13 + c * 29) % 256;
        value[c] =
            depth == Depth::Float ? (step - 64) / 64.0f : std::min(white, step * white / 255);
    }
    if (depth == Depth::Bits16 && x == 0) {
        value[1] = 32768;
    }
    return value;
}

void FillPattern(World& world) {
    for (A_long y = 0; y < world.Height(); ++y) {
        for (A_long x = 0; x < world.Width(); ++x) {
            world.SetPixel(x, y, PatternAt(world.PixelDepth(), x, y));
        }
    }
}

class Transfer : public testing::Test {
  protected:
    void SetUp() override {
        if (!context_.Valid()) {
            GTEST_SKIP() << "no OpenGL context";
        }
        gl::glGenFramebuffers(1, &framebuffer_);
    }
    void TearDown() override {
        if (context_.Valid()) {
            gl::glDeleteFramebuffers(1, &framebuffer_);
        }
        EXPECT_EQ(TransferHost::liveHandles, 0);
        EXPECT_EQ(TransferHost::heldSuites, 0);
    }

    // What the transfers read of a frame: the worlds, the format and the call's suites.
    FrameContext FrameOf(SuiteHandler& suites, PF_EffectWorld* input, PF_EffectWorld* output,
                         PF_PixelFormat format) {
        return FrameContext{&host_.inData,
                            nullptr,
                            suites,
                            settings_,
                            input,
                            output,
                            GetPixelFormatInfo(format),
                            renderData_,
                            input->width,
                            input->height,
                            0.0f,
                            0.0f,
                            false};
    }

    AESDK_OpenGL::GlTexture Upload(PF_EffectWorld* input) {
        SuiteHandler suites(&host_.basic);
        return UploadInputTexture(FrameOf(suites, input, nullptr, PF_PixelFormat_ARGB32));
    }

    // Uploads the input, attaches the texture and reads it back into the output.
    void RoundTrip(World& input, World& output) {
        SuiteHandler suites(&host_.basic);
        const FrameContext frame = FrameOf(suites, input.Effect(), output.Effect(),
                                           quorvel::host::PixelFormatOf(input.PixelDepth()));
        const AESDK_OpenGL::GlTexture texture = UploadInputTexture(frame);
        ASSERT_NE(texture.Name(), 0u);
        gl::GLint rowLength = -1;
        gl::glGetIntegerv(gl::GL_UNPACK_ROW_LENGTH, &rowLength);
        EXPECT_EQ(rowLength, 0);
        gl::glBindFramebuffer(gl::GL_FRAMEBUFFER, framebuffer_);
        gl::glFramebufferTexture2D(gl::GL_FRAMEBUFFER, gl::GL_COLOR_ATTACHMENT0, gl::GL_TEXTURE_2D,
                                   texture.Name(), 0);
        ReadBackOutput(frame);
        gl::glBindFramebuffer(gl::GL_FRAMEBUFFER, 0);
    }

    EglTestContext context_;
    TransferHost host_;
    RenderSettings settings_{};
    AESDK_OpenGL::AESDK_OpenGL_EffectRenderData renderData_;
    gl::GLuint framebuffer_ = 0;
};

TEST_F(Transfer, EveryDepthRoundTripsThroughPaddedRows) {
    const A_long paddings[] = {0, 8 * 16, 3};  // none, whole pixels, not a whole pixel
    for (Depth depth : {Depth::Bits8, Depth::Bits16, Depth::Float}) {
        for (A_long inPad : paddings) {
            for (A_long outPad : paddings) {
                World input(depth, 37, 11, inPad);
                World output(depth, 37, 11, outPad);
                FillPattern(input);
                output.FillPadding(0xAB);
                RoundTrip(input, output);
                EXPECT_TRUE(output.PaddingIs(0xAB));
                for (A_long y = 0; y < 11; ++y) {
                    for (A_long x = 0; x < 37; ++x) {
                        ASSERT_EQ(output.Pixel(x, y), input.Pixel(x, y))
                            << static_cast<int>(depth) << " pads " << inPad << "/" << outPad
                            << " at " << x << "," << y;
                    }
                }
            }
        }
    }
}

TEST_F(Transfer, OutputsOfAnotherSizeGetTheOverlapAndTransparentBlack) {
    for (Depth depth : {Depth::Bits8, Depth::Bits16, Depth::Float}) {
        World input(depth, 20, 10, 4 * 16);
        FillPattern(input);
        for (const auto& size : {std::pair<A_long, A_long>{30, 14}, {12, 6}, {25, 4}}) {
            World output(depth, size.first, size.second, 16);
            output.Fill({1, 1, 1, 1});
            output.FillPadding(0x5C);
            RoundTrip(input, output);
            EXPECT_TRUE(output.PaddingIs(0x5C));
            for (A_long y = 0; y < output.Height(); ++y) {
                for (A_long x = 0; x < output.Width(); ++x) {
                    const bool inside = x < input.Width() && y < input.Height();
                    const PixelValue expected = inside ? input.Pixel(x, y) : PixelValue{0, 0, 0, 0};
                    ASSERT_EQ(output.Pixel(x, y), expected) << x << "," << y;
                }
            }
        }
    }
}

TEST_F(Transfer, FailuresLeaveNothingBehind) {
    // A float world with no pixel data suite: out of memory for the frame.
    World floats(Depth::Float, 4, 4);
    TransferHost::noPixelDataSuite = true;
    EXPECT_THROW(Upload(floats.Effect()), ReportedAsOutOfMemory);
    TransferHost::noPixelDataSuite = false;

    // A world the host does not know: its 8-bit probe gives nothing, so it is read as float,
    // and the float callback's code ends the upload.
    World known(Depth::Bits8, 4, 4);
    PF_EffectWorld stranger = *known.Effect();
    try {
        Upload(&stranger);
        FAIL();
    } catch (const HostCode& failure) {
        EXPECT_EQ(failure.code, PF_Err_BAD_CALLBACK_PARAM);
    }
    // Rows shorter than the width.
    PF_EffectWorld* shortRows = known.Effect();
    shortRows->rowbytes = 8;
    EXPECT_THROW(Upload(shortRows), HostCode);
    EXPECT_EQ(gl::glIsTexture(1), gl::GL_FALSE);
}

TEST(ReadbackFloat, StaysInsideTheImage) {
    const float image[2 * 3 * 4] = {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12,
                                    13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24};
    PF_EffectWorld input{};
    input.width = 3;
    input.height = 2;
    ReadbackRefcon refcon = {image, &input};
    PF_PixelFloat out = {-1, -1, -1, -1};
    EXPECT_EQ(ReadbackFloatPixel(&refcon, 1, 1, nullptr, &out), PF_Err_NONE);
    EXPECT_EQ(out.alpha, 17);
    EXPECT_EQ(out.blue, 20);
    for (const auto& at : {std::pair<int, int>{3, 0}, {0, 2}, {-1, 0}, {0, -1}}) {
        out = {-1, -1, -1, -1};
        EXPECT_EQ(ReadbackFloatPixel(&refcon, at.first, at.second, nullptr, &out), PF_Err_NONE);
        EXPECT_EQ(out.alpha, 0);
        EXPECT_EQ(out.red, 0);
    }
}

}  // namespace
