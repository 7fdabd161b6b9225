#pragma once

#include <array>
#include <vector>

#include "shell/params/render_settings.h"

// How a uniform is set: glUniformMatrix4fv (one matrix, no transposition), glUniform1f,
// glUniform2f or glUniform1i.
enum class UniformCall { Matrix4, Float1, Float2, Int1 };

// One uniform of the distortion program with the value it gets in this frame.
struct UniformValue {
    const char* name;
    UniformCall call;
    std::array<float, 16> floats;
    int integer;
};

// The 30 uniforms of the distortion program in the order they are set, with their values
// from the frame's settings; phase is the frame's animation phase.
std::vector<UniformValue> DistortionUniformValues(const RenderSettings& settings, int width,
                                                  int height, float multiplier16bit, double phase);

// Sets each value at its location in the program in use; names the program does not have
// get location -1, which OpenGL ignores.
void SetUniforms(unsigned int program, const std::vector<UniformValue>& values);
