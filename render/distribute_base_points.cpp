#include "render/distribute_base_points.h"

#include <algorithm>
#include <cmath>

#include "ramp/ramp.h"

std::vector<double> DistributeBasePoints(int n, const LockedHandle& ramp, double factor,
                                         double offset) {
    const Ramp& curve = *ramp.As<Ramp>();
    if (n < 2) {
        return std::vector<double>(static_cast<size_t>(std::max(n, 0)), 0.0);
    }
    const double last = static_cast<double>(n - 1);

    // Cumulative spacing: each step shrinks by the ramp's value there, clamped to [0, 1].
    std::vector<double> table(static_cast<size_t>(n));
    double cumulative = 0.0;
    table[0] = 0.0;
    for (int i = 0; i < n - 1; ++i) {
        const double t = static_cast<double>(i) / last;
        const double d = static_cast<double>(curve.Evaluate(static_cast<float>(t))) * factor;
        const double shrink = d > 0.0 ? std::min(d, 1.0) : 0.0;  // NaN shrinks nothing
        cumulative += (1.0 - shrink) / last;
        table[static_cast<size_t>(i) + 1] = std::clamp(cumulative, 0.0, 1.0);
    }

    std::vector<double> result(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        const double x = last * (static_cast<double>(i) / last - offset);
        // Truncated and clamped in floating point: any offset, even a damaged one, gives a
        // valid step.
        const double step = std::trunc(x);
        const double k = step > 0.0 ? std::min(step, last - 1.0) : 0.0;
        const size_t index = static_cast<size_t>(k);
        result[static_cast<size_t>(i)] = table[index] + (x - k) * (table[index + 1] - table[index]);
    }
    return result;
}
