#include <cmath>

#include "ramp/bezier_segment.h"

namespace {

// How far the tangent handles reach, as a share of the segment's chord.
constexpr float kBezierHandleFactor = 0.3f;

float ChordLength(RampKey from, RampKey to) {
    return std::sqrt(powf(to.v - from.v, 2.0f) + powf(to.t - from.t, 2.0f));
}

}  // namespace

float EvalBezier(float p0, float p1, float p2, float p3, float u) {
    const float s = 1.0f - u;
    return s * s * s * p0 + 3.0f * s * s * u * p1 + 3.0f * s * (u * u) * p2 + u * u * u * p3;
}

float BezierParameterAtX(const float control[8], float uLo, float xLo, float uHi, float xHi,
                         float x, int iterations) {
    BezierCurve curve{control};
    return SearchBezierParameter(curve, BezierBracket<float>{uLo, xLo, uHi, xHi}, x, iterations);
}

BezierSegment::BezierSegment(RampKey p, RampKey l, RampKey r, RampKey n) {
    const float chordLR = ChordLength(l, r);
    const float chordPL = ChordLength(p, l);
    const float chordRN = ChordLength(r, n);
    const float handleL = kBezierHandleFactor * chordLR / (chordPL + chordLR);
    const float handleR = kBezierHandleFactor * chordLR / (chordLR + chordRN);
    control[0] = l.t;
    control[1] = l.v;
    control[2] = l.t + handleL * (r.t - p.t);
    control[3] = l.v + handleL * (r.v - p.v);
    control[4] = r.t - handleR * (n.t - l.t);
    control[5] = r.v - handleR * (n.v - l.v);
    control[6] = r.t;
    control[7] = r.v;
}
