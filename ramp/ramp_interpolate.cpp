#include <cmath>
#include <iterator>

#include "ramp/ramp_operations.h"

namespace {

// Keys that are not finite (from a fraction that is not a number, or huge keys that overflow)
// have no place on the curve and would break the map's ordering or its areas.
void SetPoint(RampPoints* points, float t, float v) {
    if (std::isfinite(t)) {
        (*points)[t] = v;
    }
}

bool IsEmpty(const Ramp& ramp) {
    return ramp.points == nullptr || ramp.points->empty();
}

}  // namespace

void InterpolateRamps(const Ramp& left, const Ramp& right, double fraction, Ramp* result) {
    result->mode = left.mode;
    result->interpolation = left.interpolation;
    RampPoints* out = result->points;
    out->clear();
    const float f = float(fraction);
    const float g = 1.0f - f;
    if (IsEmpty(left) && IsEmpty(right)) {
        return;
    }
    if (IsEmpty(left)) {
        for (const auto& [t, v] : *right.points) {
            SetPoint(out, g * t + f * t, f * v + g);
        }
        return;
    }
    if (IsEmpty(right)) {
        for (const auto& [t, v] : *left.points) {
            SetPoint(out, g * t + f * t, g * v + f);
        }
        return;
    }
    auto l = left.points->begin();
    auto r = right.points->begin();
    while (l != left.points->end() || r != right.points->end()) {
        const auto& lp = l != left.points->end() ? *l : *std::prev(left.points->end());
        const auto& rp = r != right.points->end() ? *r : *std::prev(right.points->end());
        SetPoint(out, g * lp.first + f * rp.first, g * lp.second + f * rp.second);
        if (l != left.points->end()) {
            ++l;
        }
        if (r != right.points->end()) {
            ++r;
        }
    }
}
