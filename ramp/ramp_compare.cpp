#include <cmath>

#include "ramp/ramp_operations.h"

namespace {

constexpr float kValueTolerance = 0.0001f;
const RampPoints kNoPoints;

const RampPoints& PointsOf(const Ramp& ramp) {
    return ramp.points != nullptr ? *ramp.points : kNoPoints;
}

}  // namespace

bool RampsEqual(const Ramp& a, const Ramp& b) {
    const RampPoints& pointsA = PointsOf(a);
    const RampPoints& pointsB = PointsOf(b);
    if (pointsA.size() != pointsB.size() || a.mode != b.mode ||
        a.interpolation != b.interpolation) {
        return false;
    }
    for (const auto& [t, v] : pointsA) {
        const auto match = pointsB.find(t);
        if (match == pointsB.end() || !(std::fabs(v - match->second) <= kValueTolerance)) {
            return false;
        }
    }
    return true;
}
