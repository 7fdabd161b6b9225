// The full-frame pass programs, run on real pixels: host pixels to premultiplied RGBA, the
// copy, and premultiplied RGBA back to host pixels.

#include <glbinding/gl/gl.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "gl/render_resources.h"
#include "tests/gl/gl_test_support.h"

namespace {

using namespace gl;
using gl_test::ExpectPixel;
using gl_test::Texels;

constexpr float kMultiplier16 = 65535.0f / 32768.0f;

class ConversionShaders : public gl_test::RenderDataTest {
  protected:
    // Runs one program over a row of texels, one output pixel per texel.
    Texels Convert(int slot, const Texels& input, float multiplier16bit = 1.0f) {
        const int width = static_cast<int>(input.size());
        AESDK_OpenGL::PrepareRenderResources(*renderData, static_cast<std::uint16_t>(width), 1,
                                             false);
        const AESDK_OpenGL::GlTexture texture = gl_test::MakeTexture(width, 1, input);
        gl_test::DrawConversionPass(*renderData, slot, texture.Name(), multiplier16bit,
                                    renderData->passTextures[0].Name());
        return gl_test::ReadPixels(width, 1);
    }
};

TEST_F(ConversionShaders, InputConversionReordersAndPremultiplies) {
    // Host pixels are stored A, R, G, B.
    const Texels output =
        Convert(ShaderSlot_InputConversion,
                {{1, 1, 0, 0}, {0.5f, 1, 1, 1}, {0.25f, 0.2f, 0.4f, 0.8f}, {0, 1, 1, 1}});
    ExpectPixel(output[0], {1, 0, 0, 1});
    ExpectPixel(output[1], {0.5f, 0.5f, 0.5f, 0.5f});
    ExpectPixel(output[2], {0.05f, 0.1f, 0.2f, 0.25f});
    ExpectPixel(output[3], {0, 0, 0, 0});
}

TEST_F(ConversionShaders, SixteenBitFullScaleRoundTrips) {
    // A 16-bit channel of 32768 arrives as 32768/65535 of full scale.
    const float fullScale16 = 32768.0f / 65535.0f;
    const Texels converted = Convert(ShaderSlot_InputConversion,
                                     {{fullScale16, fullScale16, 0, fullScale16}}, kMultiplier16);
    ExpectPixel(converted[0], {1, 0, 1, 1});

    // Back to the host's range: 1.0 becomes 32768 when read as 16-bit values.
    AESDK_OpenGL::PrepareRenderResources(*renderData, 1, 1, false);
    const AESDK_OpenGL::GlTexture texture = gl_test::MakeTexture(1, 1, {{1, 1, 1, 1}});
    gl_test::DrawConversionPass(*renderData, ShaderSlot_OutputConversion, texture.Name(),
                                kMultiplier16, renderData->passTextures[1].Name());
    std::uint16_t channels[4] = {};
    glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_SHORT, channels);
    for (const std::uint16_t channel : channels) {
        EXPECT_EQ(channel, 32768);
    }
}

TEST_F(ConversionShaders, OutputConversionUnpremultipliesAboveThreshold) {
    const Texels output = Convert(ShaderSlot_OutputConversion, {{0.25f, 0.25f, 0.25f, 0.5f},
                                                                {0.2f, 0.4f, 0.6f, 0.005f},
                                                                {0.003f, 0.006f, 0.009f, 0.01f},
                                                                {0, 0, 0, 0}});
    // Results are in the host's A, R, G, B order.
    ExpectPixel(output[0], {0.5f, 0.5f, 0.5f, 0.5f});
    ExpectPixel(output[1], {0, 0, 0, 0});
    ExpectPixel(output[2], {0.01f, 0.3f, 0.6f, 0.9f}, 1e-5f);
    ExpectPixel(output[3], {0, 0, 0, 0});
}

TEST_F(ConversionShaders, InputThenOutputGivesTheHostPixelBack) {
    const Texels host = {{1, 0.2f, 0.4f, 0.6f},      {0.5f, 1, 0, 0.25f}, {0.01f, 0.9f, 0.8f, 0.7f},
                         {0.009f, 0.9f, 0.8f, 0.7f}, {0.3f, 0, 0, 0},     {0.75f, 1, 1, 1}};
    const Texels premultiplied = Convert(ShaderSlot_InputConversion, host);
    const Texels back = Convert(ShaderSlot_OutputConversion, premultiplied);
    for (size_t index = 0; index < host.size(); ++index) {
        SCOPED_TRACE(index);
        if (host[index][0] >= 0.01f) {
            ExpectPixel(back[index], host[index], 1e-5f);
        } else {
            ExpectPixel(back[index], {0, 0, 0, 0});
        }
    }
}

TEST_F(ConversionShaders, CopyKeepsEveryValue) {
    const Texels input = {{-1, 0.5f, 2, 1e6f}, {0, 0, 0, 0}, {0.123456f, 7, -3, 1}};
    const Texels output = Convert(ShaderSlot_Copy, input);
    for (size_t index = 0; index < input.size(); ++index) {
        ExpectPixel(output[index], input[index], 0.0f);
    }
}

}  // namespace
