#include "render/passes.h"

#include <cstddef>

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

void DrawQuadPass(const QuadPass& pass, const FrameContext& frame, gl::GLuint texture,
                  BlendMode blendMode) {
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
    PixelToClipProjection(frame.width, frame.height, projection);
    const AESDK_OpenGL::AESDK_OpenGL_EffectRenderData& renderData = frame.renderData;
    const gl::GLuint program = renderData.programs[pass.programSlot].Name();
    gl::glUseProgram(program);
    gl::glUniformMatrix4fv(gl::glGetUniformLocation(program, "ModelviewProjection"), 1,
                           gl::GL_FALSE, projection);
    if (pass.sendsMultiplier) {
        gl::glUniform1f(gl::glGetUniformLocation(program, "multiplier16bit"),
                        frame.format.multiplier16bit);
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

void SetBlendMode(BlendMode mode) {
    if (mode == BlendMode::Alpha) {
        gl::glEnable(gl::GL_BLEND);
        gl::glBlendFuncSeparate(gl::GL_SRC_ALPHA, gl::GL_ONE_MINUS_SRC_ALPHA, gl::GL_ONE,
                                gl::GL_ONE_MINUS_SRC_ALPHA);
        gl::glBlendEquationSeparate(gl::GL_FUNC_ADD, gl::GL_FUNC_ADD);
    } else if (mode == BlendMode::Off) {
        gl::glDisable(gl::GL_BLEND);
    }
}

void DrawQuad(gl::GLuint quadVertexBuffer) {
    constexpr gl::GLsizei stride = sizeof(QuadVertex);
    gl::glEnableVertexAttribArray(VertexAttribute_Position);
    gl::glEnableVertexAttribArray(VertexAttribute_UVs);
    gl::glBindBuffer(gl::GL_ARRAY_BUFFER, quadVertexBuffer);
    gl::glVertexAttribPointer(VertexAttribute_Position, 3, gl::GL_FLOAT, gl::GL_FALSE, stride,
                              reinterpret_cast<const void*>(offsetof(QuadVertex, x)));
    gl::glVertexAttribPointer(VertexAttribute_UVs, 2, gl::GL_FLOAT, gl::GL_FALSE, stride,
                              reinterpret_cast<const void*>(offsetof(QuadVertex, u)));
    gl::glDrawArrays(gl::GL_TRIANGLE_STRIP, 0, 4);
    gl::glDisableVertexAttribArray(VertexAttribute_Position);
    gl::glDisableVertexAttribArray(VertexAttribute_UVs);
    gl::glBindBuffer(gl::GL_ARRAY_BUFFER, 0);
}

void DrawBackgroundPass(const FrameContext& frame, gl::GLuint texture) {
    DrawQuadPass(kBackgroundPass, frame, texture, BlendMode::Off);
}

void DrawResolvePass(const FrameContext& frame, gl::GLuint texture, BlendMode blendMode) {
    DrawQuadPass(kResolvePass, frame, texture, blendMode);
}

void DrawOutputPass(const FrameContext& frame, gl::GLuint texture) {
    DrawQuadPass(kOutputPass, frame, texture, BlendMode::Off);
}
