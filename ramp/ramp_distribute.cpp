#include <cmath>
#include <cstddef>
#include <iterator>

#include "ramp/ramp.h"

namespace {

// Areas and differences below this count as nothing.
constexpr float kAreaTolerance = 0.00001f;

bool IsStraightBetweenKeys(int32_t interpolation) {
    return interpolation == RampInterpolation_Sin || interpolation == RampInterpolation_Line ||
           interpolation == RampInterpolation_Bezier;
}

// The area under the curve segment by segment: before the first key, between each pair of keys,
// after the last key. Sin and Bezier count as straight lines, Step as its left value.
std::vector<float> SegmentAreas(const RampPoints& points, int32_t interpolation) {
    std::vector<float> areas;
    areas.reserve(points.size() + 1);
    const auto first = points.begin();
    areas.push_back(first->first * first->second);
    auto last = first;
    const bool known =
        IsStraightBetweenKeys(interpolation) || interpolation == RampInterpolation_Step;
    if (known) {
        for (auto right = std::next(first); right != points.end(); ++right) {
            const auto left = std::prev(right);
            const float width = right->first - left->first;
            areas.push_back(interpolation == RampInterpolation_Step
                                ? width * left->second
                                : (right->second + left->second) * 0.5f * width);
        }
        last = std::prev(points.end());
    }
    areas.push_back((1.0f - last->first) * last->second);
    return areas;
}

std::vector<float> EvenSpread(int n) {
    std::vector<float> positions(static_cast<size_t>(n));
    for (int k = 0; k < n; ++k) {
        positions[static_cast<size_t>(k)] = n > 1 ? float(k) / float(n - 1) : 0.0f;
    }
    return positions;
}

// How the curve runs across one segment of the walk.
enum class SegmentShape { Constant, Straight, Unknown };

// One segment of the walk: the curve's value at its start and end, its width, its whole
// area and how the curve runs between.
struct WalkSegment {
    float vS;
    float vE;
    float w;
    float area;
    SegmentShape shape;
};

// Where inside the segment s the area rem (still to cover from its start) is reached, as a
// fraction of its width.
float FractionInSegment(const WalkSegment& s, float rem) {
    // A segment still to cover with no width (or, below, starting at height 0 while staying
    // flat) has an area that is not a number: its start answers instead of a division by 0.
    if (s.w == 0.0f) {
        return 0.0f;
    }
    const float a = rem / s.w;
    if (std::fabs(s.vE - s.vS) <= kAreaTolerance || s.shape == SegmentShape::Constant) {
        return s.vS != 0.0f ? a / s.vS : 0.0f;
    }
    if (s.shape == SegmentShape::Unknown) {
        return 0.0f;
    }
    // The area under a straight line from vS to vE up to fraction f is
    // vS f + (vE - vS) f^2 / 2; solve for f.
    const double dv = double(s.vE) - double(s.vS);
    const double discriminant = 8.0 * dv * double(a) + 4.0 * double(s.vS) * double(s.vS);
    if (discriminant < 0.0) {
        // Float error just past the area's extreme (next to a key whose value is 0): the
        // root lies at whichever end of the segment rem is nearer to.
        return std::fabs(rem) <= std::fabs(s.area - rem) ? 0.0f : 1.0f;
    }
    return float((std::sqrt(discriminant) * 0.5 - double(s.vS)) / dv);
}

}  // namespace

std::vector<float> Ramp::DistributePositions(int n) const {
    if (n < 1) {
        return {};
    }
    if (points == nullptr || points->size() < 2) {
        return EvenSpread(n);
    }
    const std::vector<float> areas = SegmentAreas(*points, interpolation);
    float total = 0.0f;
    for (const float area : areas) {
        total += area;
    }
    if (total <= kAreaTolerance) {
        return EvenSpread(n);
    }

    size_t trailing = 0;
    while (trailing < areas.size() && areas[areas.size() - 1 - trailing] < kAreaTolerance) {
        ++trailing;
    }
    const size_t live = areas.size() - trailing;
    if (live == 0) {
        return EvenSpread(n);
    }
    // Where the trailing run of empty segments begins.
    const float fill =
        trailing == 0 ? 1.0f : std::prev(points->end(), std::ptrdiff_t(trailing))->first;

    const size_t keyCount = points->size();
    const SegmentShape betweenKeys = IsStraightBetweenKeys(interpolation) ? SegmentShape::Straight
                                     : interpolation == RampInterpolation_Step
                                         ? SegmentShape::Constant
                                         : SegmentShape::Unknown;
    std::vector<float> positions(static_cast<size_t>(n), fill);
    size_t segment = 0;
    float tS = 0.0f;
    float vS = points->begin()->second;
    auto next = points->begin();
    float passed = 0.0f;
    for (int k = 0; k < n; ++k) {
        const float share = n > 1 ? float(k) / float(n - 1) : 0.0f;
        float rem = share * total - passed;
        while (areas[segment] - rem <= kAreaTolerance) {
            if (next != points->end()) {
                tS = next->first;
                vS = next->second;
                ++next;
            }
            rem -= areas[segment];
            passed += areas[segment];
            ++segment;
            if (segment == live) {
                return positions;
            }
        }
        float tE;
        float vE;
        SegmentShape shape = SegmentShape::Constant;
        if (segment == 0) {
            tE = points->begin()->first;
            vE = points->begin()->second;
        } else if (segment == keyCount) {
            tE = 1.0f;
            vE = vS;
        } else {
            tE = next->first;
            vE = next->second;
            shape = betweenKeys;
        }
        const float w = tE - tS;
        const float f = FractionInSegment({vS, vE, w, areas[segment], shape}, rem);
        float p = tS + w * f;
        p = tE > p ? p : tE;
        positions[static_cast<size_t>(k)] = p > tS ? p : tS;
    }
    return positions;
}
