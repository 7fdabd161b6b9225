#include "host/segment_length_table.h"

#include <algorithm>
#include <cmath>

namespace quorvel::host {

SegmentLengthTable::SegmentLengthTable(const BezierSegment& segment, int frequency)
    : segment_(segment) {
    const int intervals = std::clamp(frequency, 1, kMaxIntervals);
    cumulative_.resize(static_cast<size_t>(intervals) + 1);
    cumulative_[0] = 0.0;
    for (int k = 0; k < intervals; ++k) {
        const double t0 = static_cast<double>(k) / intervals;
        const double t1 = static_cast<double>(k + 1) / intervals;
        cumulative_[k + 1] = cumulative_[k] + segment_.LengthBetween(t0, t1);
    }
}

double SegmentLengthTable::ParameterAtLength(double length) const {
    const double total = Length();
    if (!(length > 0.0) || !(total > 0.0)) {
        return 0.0;
    }
    if (length >= total) {
        return 1.0;
    }
    const int intervals = Intervals();
    // The interval k with cumulative_[k] <= length < cumulative_[k + 1].
    const auto above = std::upper_bound(cumulative_.begin(), cumulative_.end(), length);
    const int k = std::clamp(static_cast<int>(above - cumulative_.begin()) - 1, 0, intervals - 1);
    double lo = static_cast<double>(k) / intervals;
    double hi = static_cast<double>(k + 1) / intervals;
    const double start = lo;
    const double wanted = length - cumulative_[k];
    const double span = cumulative_[k + 1] - cumulative_[k];
    if (!(span > 0.0)) {
        return lo;
    }
    // Newton's method on the arc length, kept inside a shrinking bracket so that a vanishing
    // speed (a cusp) falls back to bisection.
    double t = lo + (hi - lo) * (wanted / span);
    const double tolerance = 1e-12 * (1.0 + total);
    for (int iteration = 0; iteration < 60; ++iteration) {
        const double error = segment_.LengthBetween(start, t) - wanted;
        if (std::fabs(error) <= tolerance) {
            break;
        }
        if (error > 0.0) {
            hi = t;
        } else {
            lo = t;
        }
        const double speed = segment_.SpeedAt(t);
        double next = speed > 0.0 ? t - error / speed : lo;
        if (!(next > lo && next < hi)) {
            next = 0.5 * (lo + hi);
        }
        if (next == t) {
            break;
        }
        t = next;
    }
    return t;
}

PathPoint SegmentLengthTable::PointAtLength(double length) const {
    return segment_.PointAt(ParameterAtLength(length));
}

}  // namespace quorvel::host
