#include "render/mesh_drawing.h"

#include <array>
#include <optional>

#include <glbinding/gl/gl.h>

#include "gl/shader_program.h"
#include "gl/shader_program_table.h"
#include "ramp/ramp_lookup.h"
#include "render/animation_phase.h"
#include "render/distortion_uniforms.h"
#include "render/matrix.h"
#include "render/mesh_layout.h"
#include "render/passes.h"
#include "shell/toolkit/app_colours.h"
#include "shell/toolkit/errors.h"
#include "shell/toolkit/locked_handle.h"

namespace {

// A ramp parameter of the distortion program: its lookup texture's sampler, the ramp and the
// Loop checkbox that sets the texture's wrap.
struct RampLookup {
    const char* sampler;
    PF_ArbitraryH RenderSettings::*ramp;
    uint8_t RenderSettings::*loop;
};

// Texture units 1 to 4, in the order the lookups are made and bound.
constexpr RampLookup kRampLookups[] = {
    {"distortionAlongRampTexture", &RenderSettings::distortionAlongRamp,
     &RenderSettings::distortionAlongRampLoop},
    {"distortionAcrossRampTexture", &RenderSettings::distortionAcrossRamp,
     &RenderSettings::distortionAcrossRampLoop},
    {"acrossRampTexture", &RenderSettings::opacityAcrossRamp,
     &RenderSettings::opacityAcrossRampLoop},
    {"alongRampTexture", &RenderSettings::opacityAlongRamp, &RenderSettings::opacityAlongRampLoop},
};
constexpr size_t kRampLookupCount = sizeof(kRampLookups) / sizeof(kRampLookups[0]);

void SetStripsUniforms(gl::GLuint program, const float projection[16],
                       const DRAWBOT_ColorRGBA& color1, const DRAWBOT_ColorRGBA& color2) {
    gl::glUniformMatrix4fv(gl::glGetUniformLocation(program, "ModelviewProjection"), 1,
                           gl::GL_FALSE, projection);
    gl::glUniform4fv(gl::glGetUniformLocation(program, "color1"), 1, &color1.red);
    gl::glUniform4fv(gl::glGetUniformLocation(program, "color2"), 1, &color2.red);
}

// A host colour call's answer: a failure ends the frame as out of memory.
void ThrowIfColorCallFailed(PF_Err err) {
    if (err != PF_Err_NONE) {
        throw ReportedAsOutOfMemory(err);
    }
}

}  // namespace

void GetHostColors(PF_InData* in_data, PF_OutData* out_data, DRAWBOT_ColorRGBA* background,
                   DRAWBOT_ColorRGBA* type2Colour) {
    // The App suite is held for these calls only.
    SuiteHandler suites(in_data->pica_basicP);
    const PF_AppSuite6* app = suites.AcquireAnnounced<SuiteSlot::AEAppSuite6>(in_data, out_data);
    if (app == nullptr) {
        throw ReportedAsOutOfMemory(PF_Err_BAD_CALLBACK_PARAM);
    }
    if (background != nullptr) {
        PF_App_Color colour = {0, 0, 0};
        ThrowIfColorCallFailed(app->PF_AppGetBgColor(&colour));
        *background = FromAppColor(colour);
    }
    if (type2Colour != nullptr) {
        PF_App_Color colour = {0, 0, 0};
        ThrowIfColorCallFailed(app->PF_AppGetColor(2, &colour));
        *type2Colour = FromAppColor(colour);
    }
}

double AnimationPhase(const PF_InData* in_data, const RenderSettings& settings) {
    return AnimationPhaseAt(settings.animate == 1, settings.manualAnimation,
                            settings.animationSpeed, in_data->current_time, in_data->time_scale);
}

AESDK_OpenGL::GlTexture MakeRampTexture(const Ramp& ramp, int loop) {
    std::array<float, kRampTextureSize> values;
    FillRampLookup(ramp, values.data(), kRampTextureSize);
    AESDK_OpenGL::GlTexture texture = AESDK_OpenGL::GlTexture::Create();
    gl::glBindTexture(gl::GL_TEXTURE_2D, texture.Name());
    const gl::GLenum wrap = loop == 1 ? gl::GL_REPEAT : gl::GL_CLAMP_TO_EDGE;
    gl::glTexParameteri(gl::GL_TEXTURE_2D, gl::GL_TEXTURE_MIN_FILTER, gl::GL_LINEAR);
    gl::glTexParameteri(gl::GL_TEXTURE_2D, gl::GL_TEXTURE_MAG_FILTER, gl::GL_LINEAR);
    gl::glTexParameteri(gl::GL_TEXTURE_2D, gl::GL_TEXTURE_WRAP_S, wrap);
    gl::glTexParameteri(gl::GL_TEXTURE_2D, gl::GL_TEXTURE_WRAP_T, wrap);
    gl::glTexImage2D(gl::GL_TEXTURE_2D, 0, gl::GL_R32F, kRampTextureSize, 1, 0, gl::GL_RED,
                     gl::GL_FLOAT, values.data());
    gl::glBindTexture(gl::GL_TEXTURE_2D, 0);
    return texture;
}

void DrawDistortedMesh(const FrameContext& frame, const MeshIndexCounts& counts,
                       gl::GLuint inputTexture) {
    const RenderSettings& settings = frame.settings;
    const gl::GLuint program = frame.renderData.programs[ShaderSlot_Distortion].Name();
    gl::glUseProgram(program);
    SetUniforms(program, DistortionUniformValues(settings, frame.width, frame.height,
                                                 frame.format.multiplier16bit,
                                                 AnimationPhase(frame.in_data, settings)));

    // The ramps stay locked until the draw is over; they unlock in the reverse order.
    std::array<std::optional<LockedHandle>, kRampLookupCount> ramps;
    std::array<AESDK_OpenGL::GlTexture, kRampLookupCount> lookups;
    for (size_t i = 0; i < kRampLookupCount; ++i) {
        LockedHandle& ramp = ramps[i].emplace(&frame.suites, settings.*kRampLookups[i].ramp);
        lookups[i] = MakeRampTexture(*static_cast<const Ramp*>(ramp.Get()),
                                     settings.*kRampLookups[i].loop != 0 ? 1 : 0);
    }

    AESDK_OpenGL::BindTextureToSampler(program, inputTexture, "inputTexture", 0);
    for (size_t i = 0; i < kRampLookupCount; ++i) {
        AESDK_OpenGL::BindTextureToSampler(program, lookups[i].Name(), kRampLookups[i].sampler,
                                           static_cast<int>(i) + 1);
    }
    BindMeshLayout(frame.renderData, false);
    gl::glDrawElements(gl::GL_TRIANGLES, counts.triangleIndexCount, gl::GL_UNSIGNED_INT, nullptr);
    UnbindMeshLayout();
    gl::glUseProgram(0);
    gl::glDisable(gl::GL_BLEND);
}

void DrawWireframePreview(const FrameContext& frame, const MeshIndexCounts& counts) {
    DRAWBOT_ColorRGBA background;
    DRAWBOT_ColorRGBA type2Colour;
    GetHostColors(frame.in_data, frame.out_data, &background, &type2Colour);
    gl::glPolygonMode(gl::GL_FRONT_AND_BACK, gl::GL_LINE);
    SetBlendMode(BlendMode::Alpha);

    float projection[16];
    PixelToClipProjection(frame.width, frame.height, projection);
    float shift[16];
    TranslationMatrix4(1.0f, 1.0f, 0.0f, shift);
    float shadow[16];
    MultiplyMatrix4(projection, shadow, shift);

    const gl::GLuint program = frame.renderData.programs[ShaderSlot_Strips].Name();
    gl::glUseProgram(program);
    BindMeshLayout(frame.renderData, false);
    SetStripsUniforms(program, shadow, background, background);
    gl::glDrawElements(gl::GL_TRIANGLES, counts.triangleIndexCount, gl::GL_UNSIGNED_INT, nullptr);

    const DRAWBOT_ColorRGBA halfway = {(background.red + type2Colour.red) * 0.5f,
                                       (background.green + type2Colour.green) * 0.5f,
                                       (background.blue + type2Colour.blue) * 0.5f, 1.0f};
    SetStripsUniforms(program, projection, type2Colour, halfway);
    gl::glDrawElements(gl::GL_TRIANGLES, counts.triangleIndexCount, gl::GL_UNSIGNED_INT, nullptr);
    gl::glPolygonMode(gl::GL_FRONT_AND_BACK, gl::GL_FILL);

    const DRAWBOT_ColorRGBA red = {1.0f, 0.0f, 0.0f, 1.0f};
    BindMeshLayout(frame.renderData, true);
    SetStripsUniforms(program, projection, red, red);
    gl::glDrawElements(gl::GL_LINES, counts.lineIndexCount, gl::GL_UNSIGNED_INT, nullptr);
    UnbindMeshLayout();
    gl::glUseProgram(0);
    gl::glDisable(gl::GL_BLEND);
}
