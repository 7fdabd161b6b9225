#pragma once

#include <cstdint>
#include <map>
#include <vector>

enum RampMode : int32_t {
    RampMode_All = 0,
    RampMode_WithoutSin = 1,
};

enum RampInterpolation : int32_t {
    RampInterpolation_Sin = 0,
    RampInterpolation_Line = 1,
    RampInterpolation_Step = 2,
    RampInterpolation_Bezier = 3,
};

using RampPoints = std::map<float, float>;

// A curve of key points t -> v over [0, 1]. The record lives directly in the memory of a
// host handle: it is constructed in place and its point map is freed only by the DISPOSE
// callback, never by a destructor of its own.
struct Ramp {
    // Allocates an empty point map; leaves mode and interpolation as they are.
    Ramp();

    // Builds a Ramp in place on memory at least sizeof(Ramp) large (a locked host handle).
    static Ramp* ConstructAt(void* memory);

    // Frees the point map and leaves points null. The only way a map is given back.
    void ReleasePoints();

    // The curve's value at x, clamped to [0, 1]. Allocates nothing.
    float Evaluate(float x) const;

    // n positions whose density follows the area under the curve, ascending.
    std::vector<float> DistributePositions(int n) const;

    // Size of the flat record; writes the record when buffer is not null.
    int32_t Flatten(void* buffer) const;

    int32_t mode;
    int32_t interpolation;
    RampPoints* points;
};
static_assert(sizeof(Ramp) == 16, "a Ramp is two 32-bit words and a pointer");

float EvalBezier(float p0, float p1, float p2, float p3, float u);
float BezierParameterAtX(const float control[8], float uLo, float xLo, float uHi, float xHi,
                         float x, int iterations);
