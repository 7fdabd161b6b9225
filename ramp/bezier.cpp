#include "ramp/ramp.h"

namespace {

// Closer than this to a bracket end counts as reaching it.
constexpr float kBezierTolerance = 0.0001f;
// The bracket is halved until this many t-coordinates were computed, then the rest is a line.
constexpr int kBezierMaxEvaluations = 5;

}  // namespace

float EvalBezier(float p0, float p1, float p2, float p3, float u) {
    const float s = 1.0f - u;
    return s * s * s * p0 + 3.0f * s * s * u * p1 + 3.0f * s * (u * u) * p2 + u * u * u * p3;
}

float BezierParameterAtX(const float control[8], float uLo, float xLo, float uHi, float xHi,
                         float x, int iterations) {
    if (xLo + kBezierTolerance >= x) {
        return uLo;
    }
    for (;;) {
        if (x >= xHi - kBezierTolerance) {
            return uHi;
        }
        if (iterations >= kBezierMaxEvaluations) {
            return uLo + (x - xLo) / (xHi - xLo) * (uHi - uLo);
        }
        const float uMid = (uLo + uHi) * 0.5f;
        const float xMid = EvalBezier(control[0], control[2], control[4], control[6], uMid);
        ++iterations;
        if (xMid > x) {
            uHi = uMid;
            xHi = xMid;
        } else {
            uLo = uMid;
            xLo = xMid;
        }
        if (xLo + kBezierTolerance >= x) {
            return uLo;
        }
    }
}
