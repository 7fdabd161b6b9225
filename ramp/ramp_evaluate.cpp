#include <cmath>
#include <iterator>

#include "ramp/ramp.h"

namespace {

constexpr float kPi = 3.1415927f;
// Closer than this to either key of a Bezier segment gives that key's value.
constexpr float kBezierTolerance = 0.0001f;
// How far the tangent handles reach, as a share of the segment's chord.
constexpr float kBezierHandleFactor = 0.3f;

struct Point {
    float t;
    float v;
};

Point ToPoint(const RampPoints::value_type& entry) {
    return {entry.first, entry.second};
}

float ChordLength(Point from, Point to) {
    return std::sqrt(powf(to.v - from.v, 2.0f) + powf(to.t - from.t, 2.0f));
}

// The Bezier segment between l and r with tangents from their neighbours p and n (each the
// key itself at an end of the list).
float EvaluateBezierSegment(Point p, Point l, Point r, Point n, float x) {
    const float chordLR = ChordLength(l, r);
    const float chordPL = ChordLength(p, l);
    const float chordRN = ChordLength(r, n);
    const float handleL = kBezierHandleFactor * chordLR / (chordPL + chordLR);
    const float handleR = kBezierHandleFactor * chordLR / (chordLR + chordRN);
    const float control[8] = {
        l.t,
        l.v,
        l.t + handleL * (r.t - p.t),
        l.v + handleL * (r.v - p.v),
        r.t - handleR * (n.t - l.t),
        r.v - handleR * (n.v - l.v),
        r.t,
        r.v,
    };
    float u;
    if (l.t + kBezierTolerance >= x) {
        u = 0.0f;
    } else if (x >= r.t - kBezierTolerance) {
        u = 1.0f;
    } else {
        const float xMid = EvalBezier(control[0], control[2], control[4], control[6], 0.5f);
        u = xMid > x ? BezierParameterAtX(control, 0.0f, l.t, 0.5f, xMid, x, 1)
                     : BezierParameterAtX(control, 0.5f, xMid, 1.0f, r.t, x, 1);
    }
    return EvalBezier(control[1], control[3], control[5], control[7], u);
}

}  // namespace

float Ramp::Evaluate(float x) const {
    if (points == nullptr || points->empty()) {
        return 1.0f;
    }
    const auto right = points->upper_bound(x);
    float value;
    if (right == points->begin()) {
        value = right->second;
    } else if (right == points->end()) {
        value = std::prev(right)->second;
    } else {
        const auto left = std::prev(right);
        const Point l = ToPoint(*left);
        const Point r = ToPoint(*right);
        const float u = (x - l.t) / (r.t - l.t);
        switch (interpolation) {
            case RampInterpolation_Sin:
                value = l.v + (r.v - l.v) * (0.5f - 0.5f * std::cos(kPi * u));
                break;
            case RampInterpolation_Line:
                value = l.v + (r.v - l.v) * u;
                break;
            case RampInterpolation_Step:
                value = l.v;
                break;
            case RampInterpolation_Bezier: {
                const Point p = left == points->begin() ? l : ToPoint(*std::prev(left));
                const auto after = std::next(right);
                const Point n = after == points->end() ? r : ToPoint(*after);
                value = EvaluateBezierSegment(p, l, r, n, x);
                break;
            }
            default:
                return 1.0f;
        }
    }
    const float r = 1.0f > value ? value : 1.0f;
    return r > 0.0f ? r : 0.0f;
}
