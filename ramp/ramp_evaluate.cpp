#include <cmath>
#include <iterator>

#include "ramp/bezier_segment.h"
#include "ramp/ramp.h"

namespace {

constexpr float kPi = 3.1415927f;

RampKey ToKey(const RampPoints::value_type& entry) {
    return {entry.first, entry.second};
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
        const RampKey l = ToKey(*left);
        const RampKey r = ToKey(*right);
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
                const RampKey p = left == points->begin() ? l : ToKey(*std::prev(left));
                const auto after = std::next(right);
                const RampKey n = after == points->end() ? r : ToKey(*after);
                value = BezierSegment(p, l, r, n).ValueAt(x);
                break;
            }
            default:
                return 1.0f;
        }
    }
    return ClampRampValue(value);
}
