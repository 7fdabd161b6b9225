#include "render/passes.h"

#include <glbinding/gl/gl.h>

#include "gl/shader_program.h"
#include "gl/shader_program_table.h"
#include "render/matrix.h"

namespace {

// What distinguishes the three quad passes.
enum class PassBlend { Off, Mode, Premultiplied };

struct QuadPass {
    PassBlend blend;
    int programSlot;
    bool sendsMultiplier;
    bool endsWithProgramAndBlendOff;
};

constexpr QuadPass kBackgroundPass = {PassBlend::Off, ShaderSlot_InputConversion, true, true};
constexpr QuadPass kResolvePass = {PassBlend::Mode, ShaderSlot_Copy, false, true};
constexpr QuadPass kOutputPass = {PassBlend::Premultiplied, ShaderSlot_OutputConversion, true,
                                  false};

void DrawQuadPass(const QuadPass& pass, AESDK_OpenGL::AESDK_OpenGL_EffectRenderData& renderData,
                  int width, int height, gl::GLuint texture, float multiplier16bit, int blendMode) {
    switch (pass.blend) {
        case PassBlend::Off:
            gl::glDisable(gl::GL_BLEND);
            break;
        case PassBlend::Mode:
            SetBlendMode(blendMode);
            break;
        case PassBlend::Premultiplied:
            gl::glEnable(gl::GL_BLEND);
            gl::glBlendFunc(gl::GL_ONE, gl::GL_ONE_MINUS_SRC_ALPHA);
            gl::glBlendEquation(gl::GL_FUNC_ADD);
            break;
    }
    float projection[16];
    PixelToClipProjection(width, height, projection);
    const gl::GLuint program = renderData.programs[pass.programSlot].Name();
    gl::glUseProgram(program);
    gl::glUniformMatrix4fv(gl::glGetUniformLocation(program, "ModelviewProjection"), 1,
                           gl::GL_FALSE, projection);
    if (pass.sendsMultiplier) {
        gl::glUniform1f(gl::glGetUniformLocation(program, "multiplier16bit"), multiplier16bit);
    }
    AESDK_OpenGL::BindTextureToSampler(program, texture, "inputTexture", 0);
    gl::glBindVertexArray(renderData.quadVertexArray.Name());
    DrawQuad(renderData.quadVertexBuffer.Name());
    gl::glBindVertexArray(0);
    if (pass.endsWithProgramAndBlendOff) {
        gl::glUseProgram(0);
        gl::glDisable(gl::GL_BLEND);
    }
}

}  // namespace

void SetBlendMode(int mode) {
    if (mode == 1) {
        gl::glEnable(gl::GL_BLEND);
        gl::glBlendFuncSeparate(gl::GL_SRC_ALPHA, gl::GL_ONE_MINUS_SRC_ALPHA, gl::GL_ONE,
                                gl::GL_ONE_MINUS_SRC_ALPHA);
        gl::glBlendEquationSeparate(gl::GL_FUNC_ADD, gl::GL_FUNC_ADD);
    } else if (mode == 3) {
        gl::glDisable(gl::GL_BLEND);
    }
}

void DrawQuad(gl::GLuint quadVertexBuffer) {
    gl::glEnableVertexAttribArray(0);
    gl::glEnableVertexAttribArray(5);
    gl::glBindBuffer(gl::GL_ARRAY_BUFFER, quadVertexBuffer);
    gl::glVertexAttribPointer(0, 3, gl::GL_FLOAT, gl::GL_FALSE, 20, nullptr);
    gl::glVertexAttribPointer(5, 2, gl::GL_FLOAT, gl::GL_FALSE, 20,
                              reinterpret_cast<const void*>(12));
    gl::glDrawArrays(gl::GL_TRIANGLE_STRIP, 0, 4);
    gl::glDisableVertexAttribArray(0);
    gl::glDisableVertexAttribArray(5);
    gl::glBindBuffer(gl::GL_ARRAY_BUFFER, 0);
}

void DrawBackgroundPass(AESDK_OpenGL::AESDK_OpenGL_EffectRenderData& renderData, int width,
                        int height, gl::GLuint texture, float multiplier16bit) {
    DrawQuadPass(kBackgroundPass, renderData, width, height, texture, multiplier16bit, 0);
}

void DrawResolvePass(AESDK_OpenGL::AESDK_OpenGL_EffectRenderData& renderData, int width, int height,
                     gl::GLuint texture, int blendMode) {
    DrawQuadPass(kResolvePass, renderData, width, height, texture, 1.0f, blendMode);
}

void DrawOutputPass(AESDK_OpenGL::AESDK_OpenGL_EffectRenderData& renderData, int width, int height,
                    gl::GLuint texture, float multiplier16bit) {
    DrawQuadPass(kOutputPass, renderData, width, height, texture, multiplier16bit, 0);
}
