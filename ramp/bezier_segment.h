#pragma once

#include "ramp/ramp.h"
#include "ramp/ramp_value.h"

// Closer than this to a bracket end, or to either key of a segment, counts as reaching it.
inline constexpr float kBezierTolerance = 0.0001f;
// The bracket is halved until this many t-coordinates were computed, then the rest is a line.
inline constexpr int kBezierMaxEvaluations = 5;

// A bracket of a curve's parameter: u at its two ends and the t-coordinate at each.
template <typename Param>
struct BezierBracket {
    Param uLo;
    float xLo;
    Param uHi;
    float xHi;
};

// The parameter u in the bracket at which the t-coordinate reaches x, by halving the bracket.
// The parameter type belongs to the curve: curve.Mid(a, b) halves, curve.U(a) gives u as a
// float, curve.TAt(a) the t-coordinate there. With the first midpoint at 0.5 and four more
// halvings every parameter asked for is a multiple of 1/32.
//
// The answer is the first of these to hold: x within the tolerance above the lower end (its
// u), x within the tolerance below the upper end (its u), five t-coordinates computed (a
// straight line inside the bracket); otherwise the bracket is halved toward x. The halvings
// run to the end whatever the answer, and the first answer is kept: the same numbers as
// stopping early, without a branch on every comparison.
template <typename Curve, typename Param>
float SearchBezierParameter(Curve& curve, const BezierBracket<Param>& bracket, float x,
                            int iterations) {
    Param uLo = bracket.uLo;
    float xLo = bracket.xLo;
    Param uHi = bracket.uHi;
    float xHi = bracket.xHi;
    float answer = 0.0f;
    bool found = false;
    const auto offer = [&answer, &found](bool holds, float u) {
        answer = !found && holds ? u : answer;
        found = found || holds;
    };
    offer(xLo + kBezierTolerance >= x, curve.U(uLo));
    for (; iterations < kBezierMaxEvaluations; ++iterations) {
        offer(x >= xHi - kBezierTolerance, curve.U(uHi));
        const Param uMid = curve.Mid(uLo, uHi);
        const float xMid = curve.TAt(uMid);
        const bool below = xMid > x;
        uHi = below ? uMid : uHi;
        xHi = below ? xMid : xHi;
        uLo = below ? uLo : uMid;
        xLo = below ? xLo : xMid;
        offer(xLo + kBezierTolerance >= x, curve.U(uLo));
    }
    offer(x >= xHi - kBezierTolerance, curve.U(uHi));
    if (found) {
        return answer;
    }
    return curve.U(uLo) + (x - xLo) / (xHi - xLo) * (curve.U(uHi) - curve.U(uLo));
}

// The four control points of a cubic Bezier as (t, v) pairs, with u as a plain float.
struct BezierCurve {
    float Mid(float a, float b) const { return (a + b) * 0.5f; }
    float U(float a) const { return a; }
    float TAt(float u) const {
        return EvalBezier(control[0], control[2], control[4], control[6], u);
    }

    const float* control;
};

// The Bezier segment between the keys l and r of a ramp, its tangents taken from their
// neighbours p and n (each the key itself at an end of the key list).
class BezierSegment {
  public:
    BezierSegment(RampKey p, RampKey l, RampKey r, RampKey n);

    // The v-coordinate where the t-coordinate reaches x. The curve answers the parameter
    // search (Param 0, the half and 1 given by the caller as start, half and end).
    template <typename Curve, typename Param>
    float ValueAt(float x, Curve& curve, Param start, Param half, Param end) const {
        const float tL = control[0];
        const float tR = control[6];
        float u;
        if (tL + kBezierTolerance >= x) {
            u = 0.0f;
        } else if (x >= tR - kBezierTolerance) {
            u = 1.0f;
        } else {
            const float xMid = curve.TAt(half);
            const BezierBracket<Param> bracket = xMid > x
                                                     ? BezierBracket<Param>{start, tL, half, xMid}
                                                     : BezierBracket<Param>{half, xMid, end, tR};
            u = SearchBezierParameter(curve, bracket, x, 1);
        }
        return EvalBezier(control[1], control[3], control[5], control[7], u);
    }

    float ValueAt(float x) const {
        BezierCurve curve{control};
        return ValueAt(x, curve, 0.0f, 0.5f, 1.0f);
    }

    // l, the handle after l, the handle before r, r.
    float control[8];
};
