#pragma once

// What every curve promises its users, whatever was read into it: keys that are finite,
// values within [0, 1] everywhere, and positions that are finite and within [0, 1] (or the
// wider span of the curve's own keys, where a key lies outside [0, 1]). Their order is the
// area's, which a curve with values below 0 does not keep ascending.
#include <algorithm>
#include <cmath>
#include <vector>

#include "ramp/scoped_ramp.h"

inline bool KeepsCurvePromises(const Ramp& ramp) {
    bool kept = true;
    float low = 0.0f;
    float high = 1.0f;
    for (const auto& point : *ramp.points) {
        kept = kept && std::isfinite(point.first);
        low = std::min(low, point.first);
        high = std::max(high, point.first);
    }
    for (int i = 0; kept && i <= 32; ++i) {
        const float value = ramp.Evaluate(float(i) / 32.0f);
        kept = value >= 0.0f && value <= 1.0f;
    }
    for (int n : {2, 33}) {
        const std::vector<float> positions = ramp.DistributePositions(n);
        kept = kept && positions.size() == size_t(n) &&
               std::all_of(positions.begin(), positions.end(),
                           [&](float position) { return position >= low && position <= high; });
    }
    return kept;
}

// What NEW leaves in a handle before a saved record or text is read into it.
inline ScopedRamp NewDefault() {
    return ScopedRamp(RampMode_All, RampInterpolation_Sin, {{0.0f, 1.0f}, {1.0f, 1.0f}});
}
