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
#include "render/owned_texture.h"
#include "render/passes.h"
#include "shell/toolkit/aefx_suite.h"
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

// "PF AE App Suite" 6 for one call; released also when a colour call fails.
class AppSuite {
  public:
    AppSuite(PF_InData* in_data, PF_OutData* out_data) : inData_(in_data), outData_(out_data) {
        const void* suite = nullptr;
        const PF_Err err =
            AEFX_AcquireSuite(in_data, out_data, kPFAppSuite, kPFAppSuiteVersion6, nullptr, &suite);
        if (err != PF_Err_NONE) {
            throw ReportedAsOutOfMemory(err);
        }
        suite_ = static_cast<const PF_AppSuite6*>(suite);
    }
    ~AppSuite() { AEFX_ReleaseSuite(inData_, outData_, kPFAppSuite, kPFAppSuiteVersion6, nullptr); }
    AppSuite(const AppSuite&) = delete;
    AppSuite& operator=(const AppSuite&) = delete;
    const PF_AppSuite6* operator->() const { return suite_; }

  private:
    PF_InData* inData_;
    PF_OutData* outData_;
    const PF_AppSuite6* suite_ = nullptr;
};

void SetStripsUniforms(gl::GLuint program, const float projection[16], const float color1[4],
                       const float color2[4]) {
    gl::glUniformMatrix4fv(gl::glGetUniformLocation(program, "ModelviewProjection"), 1,
                           gl::GL_FALSE, projection);
    gl::glUniform4fv(gl::glGetUniformLocation(program, "color1"), 1, color1);
    gl::glUniform4fv(gl::glGetUniformLocation(program, "color2"), 1, color2);
}

}  // namespace

void HostColorToFloats(const PF_App_Color& color, float out[4]) {
    const float k = 1.0f / 65535.0f;
    out[0] = color.red * k;
    out[1] = color.green * k;
    out[2] = color.blue * k;
    out[3] = 1.0f;
}

void GetHostColors(PF_InData* in_data, PF_OutData* out_data, float background[4],
                   float type2Colour[4]) {
    AppSuite suite(in_data, out_data);
    if (background != nullptr) {
        PF_App_Color color = {0, 0, 0};
        const PF_Err err = suite->PF_AppGetBgColor(&color);
        if (err != PF_Err_NONE) {
            throw ReportedAsOutOfMemory(err);
        }
        HostColorToFloats(color, background);
    }
    if (type2Colour != nullptr) {
        PF_App_Color color = {0, 0, 0};
        const PF_Err err = suite->PF_AppGetColor(2, &color);
        if (err != PF_Err_NONE) {
            throw ReportedAsOutOfMemory(err);
        }
        HostColorToFloats(color, type2Colour);
    }
}

double AnimationPhase(const PF_InData* in_data, const RenderSettings& settings) {
    return AnimationPhaseAt(settings.animate == 1, settings.manualAnimation,
                            settings.animationSpeed, in_data->current_time, in_data->time_scale);
}

gl::GLuint MakeRampTexture(PF_InData*, const Ramp& ramp, int loop) {
    std::array<float, kRampTextureSize> values;
    FillRampLookup(ramp, values.data(), kRampTextureSize);
    gl::GLuint texture = 0;
    gl::glGenTextures(1, &texture);
    gl::glBindTexture(gl::GL_TEXTURE_2D, texture);
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

void DrawDistortedMesh(PF_InData* in_data, SuiteHandler& suites,
                       AESDK_OpenGL::AESDK_OpenGL_EffectRenderData& renderData,
                       const RenderSettings& settings, int width, int height,
                       int triangleIndexCount, gl::GLuint inputTexture, float multiplier16bit) {
    const gl::GLuint program = renderData.programs[ShaderSlot_Distortion].Name();
    gl::glUseProgram(program);
    SetUniforms(program, DistortionUniformValues(settings, width, height, multiplier16bit,
                                                 AnimationPhase(in_data, settings)));

    // The ramps stay locked until the draw is over; they unlock in the reverse order.
    std::array<std::optional<LockedHandle>, kRampLookupCount> ramps;
    std::array<OwnedTexture, kRampLookupCount> lookups;
    for (size_t i = 0; i < kRampLookupCount; ++i) {
        LockedHandle& ramp = ramps[i].emplace(&suites, settings.*kRampLookups[i].ramp);
        lookups[i].Adopt(MakeRampTexture(in_data, *static_cast<const Ramp*>(ramp.Get()),
                                         settings.*kRampLookups[i].loop != 0 ? 1 : 0));
    }

    AESDK_OpenGL::BindTextureToSampler(program, inputTexture, "inputTexture", 0);
    for (size_t i = 0; i < kRampLookupCount; ++i) {
        AESDK_OpenGL::BindTextureToSampler(program, lookups[i].Get(), kRampLookups[i].sampler,
                                           static_cast<int>(i) + 1);
    }
    BindMeshLayout(renderData, false);
    gl::glDrawElements(gl::GL_TRIANGLES, triangleIndexCount, gl::GL_UNSIGNED_INT, nullptr);
    UnbindMeshLayout();
    gl::glUseProgram(0);
    gl::glDisable(gl::GL_BLEND);
}

void DrawWireframePreview(PF_InData* in_data, PF_OutData* out_data, SuiteHandler&,
                          AESDK_OpenGL::AESDK_OpenGL_EffectRenderData& renderData,
                          const RenderSettings&, int width, int height, int triangleIndexCount,
                          int lineIndexCount) {
    float background[4];
    float type2Colour[4];
    GetHostColors(in_data, out_data, background, type2Colour);
    gl::glPolygonMode(gl::GL_FRONT_AND_BACK, gl::GL_LINE);
    SetBlendMode(1);

    float projection[16];
    PixelToClipProjection(width, height, projection);
    float shift[16];
    TranslationMatrix4(1.0f, 1.0f, 0.0f, shift);
    float shadow[16];
    MultiplyMatrix4(projection, shadow, shift);

    const gl::GLuint program = renderData.programs[ShaderSlot_Strips].Name();
    gl::glUseProgram(program);
    BindMeshLayout(renderData, false);
    SetStripsUniforms(program, shadow, background, background);
    gl::glDrawElements(gl::GL_TRIANGLES, triangleIndexCount, gl::GL_UNSIGNED_INT, nullptr);

    float halfway[4];
    for (int c = 0; c < 3; ++c) {
        halfway[c] = (background[c] + type2Colour[c]) * 0.5f;
    }
    halfway[3] = 1.0f;
    SetStripsUniforms(program, projection, type2Colour, halfway);
    gl::glDrawElements(gl::GL_TRIANGLES, triangleIndexCount, gl::GL_UNSIGNED_INT, nullptr);
    gl::glPolygonMode(gl::GL_FRONT_AND_BACK, gl::GL_FILL);

    const float red[4] = {1.0f, 0.0f, 0.0f, 1.0f};
    BindMeshLayout(renderData, true);
    SetStripsUniforms(program, projection, red, red);
    gl::glDrawElements(gl::GL_LINES, lineIndexCount, gl::GL_UNSIGNED_INT, nullptr);
    UnbindMeshLayout();
    gl::glUseProgram(0);
    gl::glDisable(gl::GL_BLEND);
}
