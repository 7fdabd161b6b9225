// The pieces of the mesh drawing that need no mesh: ramp lookup textures and host colours.
#include <vector>

#include <glbinding/gl/gl.h>
#include <gtest/gtest.h>

#include "ramp/scoped_ramp.h"
#include "render/mesh_drawing.h"
#include "shell/toolkit/app_colours.h"
#include "tests/support/egl_context.h"

namespace {

TEST(RampLookupTexture, HoldsTheRampAtEachTexelAndWrapsByLoop) {
    EglTestContext context;
    if (!context.Valid()) {
        GTEST_SKIP() << "no OpenGL context";
    }
    const ScopedRamp ramp(RampMode_All, RampInterpolation_Bezier,
                          {{0.0f, 0.2f}, {0.3f, 0.9f}, {1.0f, 0.1f}});
    for (int loop : {0, 1, 2}) {
        const AESDK_OpenGL::GlTexture texture = MakeRampTexture(*ramp, loop);
        ASSERT_NE(texture.Name(), 0u);
        gl::GLint bound = -1;
        gl::glGetIntegerv(gl::GL_TEXTURE_BINDING_2D, &bound);
        EXPECT_EQ(bound, 0);

        gl::glBindTexture(gl::GL_TEXTURE_2D, texture.Name());
        gl::GLint width = 0;
        gl::GLint height = 0;
        gl::GLint format = 0;
        gl::glGetTexLevelParameteriv(gl::GL_TEXTURE_2D, 0, gl::GL_TEXTURE_WIDTH, &width);
        gl::glGetTexLevelParameteriv(gl::GL_TEXTURE_2D, 0, gl::GL_TEXTURE_HEIGHT, &height);
        gl::glGetTexLevelParameteriv(gl::GL_TEXTURE_2D, 0, gl::GL_TEXTURE_INTERNAL_FORMAT, &format);
        EXPECT_EQ(width, kRampTextureSize);
        EXPECT_EQ(height, 1);
        EXPECT_EQ(format, static_cast<gl::GLint>(gl::GL_R32F));
        gl::GLint wrapS = 0;
        gl::GLint wrapT = 0;
        gl::GLint filter = 0;
        gl::glGetTexParameteriv(gl::GL_TEXTURE_2D, gl::GL_TEXTURE_WRAP_S, &wrapS);
        gl::glGetTexParameteriv(gl::GL_TEXTURE_2D, gl::GL_TEXTURE_WRAP_T, &wrapT);
        gl::glGetTexParameteriv(gl::GL_TEXTURE_2D, gl::GL_TEXTURE_MIN_FILTER, &filter);
        // Only Loop 1 repeats; any other value clamps.
        const gl::GLenum wrap = loop == 1 ? gl::GL_REPEAT : gl::GL_CLAMP_TO_EDGE;
        EXPECT_EQ(wrapS, static_cast<gl::GLint>(wrap));
        EXPECT_EQ(wrapT, static_cast<gl::GLint>(wrap));
        EXPECT_EQ(filter, static_cast<gl::GLint>(gl::GL_LINEAR));

        std::vector<float> texels(kRampTextureSize);
        gl::glGetTexImage(gl::GL_TEXTURE_2D, 0, gl::GL_RED, gl::GL_FLOAT, texels.data());
        // Texel i is the ramp at i / 2047 in single precision: texel 1023 is not the ramp
        // at 0.5.
        for (int i = 0; i < kRampTextureSize; ++i) {
            ASSERT_EQ(texels[i], ramp->Evaluate(static_cast<float>(i) / 2047.0f)) << i;
        }
        EXPECT_NE(texels[1023], ramp->Evaluate(0.5f));
        EXPECT_EQ(texels[0], 0.2f);
        EXPECT_EQ(texels[2047], 0.1f);
        gl::glBindTexture(gl::GL_TEXTURE_2D, 0);
    }
}

TEST(HostColors, SixteenBitChannelsBecomeUnitFloatsWithOpaqueAlpha) {
    const DRAWBOT_ColorRGBA out = FromAppColor({65535, 0, 32768});
    EXPECT_EQ(out.red, 1.0f);
    EXPECT_EQ(out.green, 0.0f);
    EXPECT_EQ(out.blue, 32768 * (1.0f / 65535.0f));
    EXPECT_EQ(out.alpha, 1.0f);
}

}  // namespace
