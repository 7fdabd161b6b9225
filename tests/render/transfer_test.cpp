// The input's upload and the output's read-back alone, with the replacement host's suites:
// every depth round-trips exactly, and bad worlds end the transfer with the host's code.
#include <glbinding/gl/gl.h>
#include <gtest/gtest.h>

#include "host/pixel_access.h"
#include "render/pixel_transfer.h"
#include "render_test_host.h"
#include "shell/toolkit/errors.h"
#include "tests/render/frame_fixture.h"
#include "tests/support/egl_context.h"

namespace {

using quorvel::host::Depth;
using quorvel::host::World;

class Transfer : public testing::Test {
  protected:
    void SetUp() override {
        if (!context_.Valid()) {
            GTEST_SKIP() << "no OpenGL context";
        }
        utils_.get_pixel_data8 = quorvel::host::GetPixelData8;
        utils_.get_pixel_data16 = quorvel::host::GetPixelData16;
        test_.inData.utils = &utils_;
    }
    void TearDown() override { EXPECT_TRUE(test_.Balanced()) << test_.Outstanding(); }

    FrameContext FrameOf(SuiteHandler& suites, PF_EffectWorld* input, PF_EffectWorld* output,
                         Depth depth) {
        return FrameContext{&test_.inData,
                            nullptr,
                            suites,
                            settings_,
                            input,
                            output,
                            GetPixelFormatInfo(quorvel::host::PixelFormatOf(depth)),
                            renderData_,
                            input->width,
                            input->height,
                            0.0f,
                            0.0f,
                            false};
    }

    AESDK_OpenGL::GlTexture Upload(PF_EffectWorld* input) {
        SuiteHandler suites(test_.inData.pica_basicP);
        return UploadInputTexture(FrameOf(suites, input, nullptr, Depth::Bits8));
    }

    // Uploads the input, attaches the texture and reads it back into the output.
    void RoundTrip(World& input, World& output) {
        SuiteHandler suites(test_.inData.pica_basicP);
        const FrameContext frame = FrameOf(suites, input.Effect(), output.Effect(), input.PixelDepth());
        const AESDK_OpenGL::GlTexture texture = UploadInputTexture(frame);
        gl::GLint rowLength = -1;
        gl::glGetIntegerv(gl::GL_UNPACK_ROW_LENGTH, &rowLength);
        EXPECT_EQ(rowLength, 0);
        gl::GLuint framebuffer = 0;
        gl::glGenFramebuffers(1, &framebuffer);
        gl::glBindFramebuffer(gl::GL_FRAMEBUFFER, framebuffer);
        gl::glFramebufferTexture2D(gl::GL_FRAMEBUFFER, gl::GL_COLOR_ATTACHMENT0, gl::GL_TEXTURE_2D,
                                   texture.Name(), 0);
        ReadBackOutput(frame);
        gl::glBindFramebuffer(gl::GL_FRAMEBUFFER, 0);
        gl::glDeleteFramebuffers(1, &framebuffer);
    }

    EglTestContext context_;
    RenderTestHost test_;
    PF_UtilCallbacks utils_{};
    RenderSettings settings_{};
    AESDK_OpenGL::AESDK_OpenGL_EffectRenderData renderData_;
};

// Rows padded by nothing, whole pixels and less than a pixel; outputs of the same size, larger
// (transparent black beyond the input) and smaller. Padding bytes are never written.
TEST_F(Transfer, EveryDepthRoundTripsExactlyThroughPaddedRowsAndOtherSizes) {
    const A_long paddings[] = {0, 8 * 16, 3};
    const std::pair<A_long, A_long> sizes[] = {{37, 11}, {45, 14}, {12, 6}, {40, 4}};
    for (Depth depth : quorvel::testing::kDepths) {
        for (int i = 0; i < 3; ++i) {
            World input(depth, 37, 11, paddings[i]);
            quorvel::testing::FillPattern(input);
            for (const auto& [width, height] : sizes) {
                World output(depth, width, height, paddings[(i + width) % 3]);
                output.Fill({1, 1, 1, 1});
                output.FillPadding(0xAB);
                RoundTrip(input, output);
                EXPECT_TRUE(output.PaddingIs(0xAB));
                EXPECT_EQ(quorvel::testing::Difference(input, output), 0.0f)
                    << static_cast<int>(depth) << " pad " << paddings[i] << " " << width;
            }
        }
    }
}

TEST_F(Transfer, BadWorldsEndTheUploadWithTheHostsCode) {
    // A float world without the pixel data suite: out of memory for the frame.
    World floats(Depth::Float, 4, 4);
    test_.FailNext("AcquireSuite", 1);
    EXPECT_THROW(Upload(floats.Effect()), ReportedAsOutOfMemory);
    // A world the host does not know: its 8-bit probe gives nothing, so it is read as float,
    // and the float callback's code ends the upload.
    World known(Depth::Bits8, 4, 4);
    PF_EffectWorld stranger = *known.Effect();
    int code = 0;
    try {
        Upload(&stranger);
    } catch (const HostCode& failure) {
        code = failure.code;
    }
    EXPECT_EQ(code, PF_Err_BAD_CALLBACK_PARAM);
    // Rows shorter than the width.
    known.Effect()->rowbytes = 8;
    EXPECT_THROW(Upload(known.Effect()), HostCode);
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
