#pragma once

#include <vector>

#include "host/bezier_segment.h"

namespace quorvel::host {

// Cumulative arc lengths of one segment at evenly spaced curve parameters. The number of
// intervals (the preparation's frequency) only makes look-ups faster: points at a length are
// refined on the curve itself, so they are accurate at any density.
class SegmentLengthTable {
  public:
    // Frequencies below 1 give one interval; very large ones are capped at kMaxIntervals.
    SegmentLengthTable(const BezierSegment& segment, int frequency);

    double Length() const { return cumulative_.back(); }
    int Intervals() const { return static_cast<int>(cumulative_.size()) - 1; }

    // The curve parameter at which the arc length from the start reaches length; lengths
    // outside [0, Length()] give the segment's ends.
    double ParameterAtLength(double length) const;
    PathPoint PointAtLength(double length) const;

    static constexpr int kMaxIntervals = 4096;

  private:
    BezierSegment segment_;
    std::vector<double> cumulative_;
};

}  // namespace quorvel::host
