#include "host/bezier_segment.h"

#include <cmath>

namespace quorvel::host {

namespace {

// Five-point Gauss-Legendre nodes and weights on [-1, 1].
constexpr double kNodes[5] = {0.0, -0.5384693101056831, 0.5384693101056831, -0.9061798459386640,
                              0.9061798459386640};
constexpr double kWeights[5] = {0.5688888888888889, 0.4786286704993665, 0.4786286704993665,
                                0.2369268850561891, 0.2369268850561891};

constexpr int kMaxDepth = 24;

double GaussLegendre(const BezierSegment& segment, double a, double b) {
    const double half = 0.5 * (b - a);
    const double middle = 0.5 * (a + b);
    double sum = 0.0;
    for (int i = 0; i < 5; ++i) {
        sum += kWeights[i] * segment.SpeedAt(middle + half * kNodes[i]);
    }
    return sum * half;
}

double Adaptive(const BezierSegment& segment, double a, double b, double whole, double tolerance,
                int depth) {
    const double middle = 0.5 * (a + b);
    const double left = GaussLegendre(segment, a, middle);
    const double right = GaussLegendre(segment, middle, b);
    // An estimate that is not finite (a speed beyond double range) cannot improve by halving.
    const double error = std::fabs(left + right - whole);
    if (depth >= kMaxDepth || !std::isfinite(error) || error <= tolerance) {
        return left + right;
    }
    return Adaptive(segment, a, middle, left, 0.5 * tolerance, depth + 1) +
           Adaptive(segment, middle, b, right, 0.5 * tolerance, depth + 1);
}

}  // namespace

PathPoint BezierSegment::PointAt(double t) const {
    const double s = 1.0 - t;
    const double b0 = s * s * s;
    const double b1 = 3.0 * s * s * t;
    const double b2 = 3.0 * s * t * t;
    const double b3 = t * t * t;
    return {b0 * control[0].x + b1 * control[1].x + b2 * control[2].x + b3 * control[3].x,
            b0 * control[0].y + b1 * control[1].y + b2 * control[2].y + b3 * control[3].y};
}

PathPoint BezierSegment::DerivativeAt(double t) const {
    const double s = 1.0 - t;
    const double d0 = 3.0 * s * s;
    const double d1 = 6.0 * s * t;
    const double d2 = 3.0 * t * t;
    return {d0 * (control[1].x - control[0].x) + d1 * (control[2].x - control[1].x) +
                d2 * (control[3].x - control[2].x),
            d0 * (control[1].y - control[0].y) + d1 * (control[2].y - control[1].y) +
                d2 * (control[3].y - control[2].y)};
}

double BezierSegment::SpeedAt(double t) const {
    const PathPoint d = DerivativeAt(t);
    const double speed = std::sqrt(d.x * d.x + d.y * d.y);
    // Squares of huge but finite tangents overflow where the speed itself does not.
    return std::isinf(speed) ? std::hypot(d.x, d.y) : speed;
}

double BezierSegment::LengthBetween(double t0, double t1) const {
    if (!(t1 > t0)) {
        return 0.0;
    }
    // The control polygon bounds the length from above, which scales the tolerance to the
    // segment's size.
    double polygon = 0.0;
    for (int i = 0; i < 3; ++i) {
        polygon += std::hypot(control[i + 1].x - control[i].x, control[i + 1].y - control[i].y);
    }
    const double tolerance = 1e-10 * (1.0 + polygon);
    return Adaptive(*this, t0, t1, GaussLegendre(*this, t0, t1), tolerance, 0);
}

}  // namespace quorvel::host
