#pragma once

#include <array>

namespace quorvel::host {

struct PathPoint {
    double x;
    double y;
};

// One cubic Bezier segment of a mask path, by its four control points.
struct BezierSegment {
    PathPoint PointAt(double t) const;
    PathPoint DerivativeAt(double t) const;
    double SpeedAt(double t) const;

    // Arc length between two curve parameters (t0 <= t1), by adaptive Gauss-Legendre
    // quadrature of the speed, accurate to about 1e-9 of the segment's size.
    double LengthBetween(double t0, double t1) const;

    std::array<PathPoint, 4> control;
};

}  // namespace quorvel::host
