#include "render/distribute_base_points.h"

#include <algorithm>
#include <cmath>

#include "ramp/ramp.h"

BasePointSpacing::BasePointSpacing(int n, const Ramp& ramp)
    : n_(std::max(n, 0)),
      steps_(static_cast<size_t>(std::max(n - 1, 0))),
      table_(static_cast<size_t>(n_)),
      result_(static_cast<size_t>(n_)) {
    const double last = static_cast<double>(n_ - 1);
    for (size_t i = 0; i < steps_.size(); ++i) {
        steps_[i] = ramp.Evaluate(static_cast<float>(static_cast<double>(i) / last));
    }
}

const std::vector<double>& BasePointSpacing::Distribute(double factor, double offset) {
    if (n_ < 2) {
        std::fill(result_.begin(), result_.end(), 0.0);
        return result_;
    }
    const double last = static_cast<double>(n_ - 1);

    // Cumulative spacing: each step shrinks by the ramp's value there times the factor,
    // clamped to [0, 1]; the sum is not normalised.
    double cumulative = 0.0;
    table_[0] = 0.0;
    for (size_t i = 0; i < steps_.size(); ++i) {
        const double d = static_cast<double>(steps_[i]) * factor;
        const double shrink = d > 0.0 ? std::min(d, 1.0) : 0.0;  // NaN shrinks nothing
        cumulative += (1.0 - shrink) / last;
        table_[i + 1] = std::clamp(cumulative, 0.0, 1.0);
    }

    for (int i = 0; i < n_; ++i) {
        const double x = last * (static_cast<double>(i) / last - offset);
        // Truncated and clamped in floating point: any offset, even a damaged one, gives a
        // valid step.
        const double step = std::trunc(x);
        const double k = step > 0.0 ? std::min(step, last - 1.0) : 0.0;
        const size_t index = static_cast<size_t>(k);
        result_[static_cast<size_t>(i)] =
            table_[index] + (x - k) * (table_[index + 1] - table_[index]);
    }
    return result_;
}
