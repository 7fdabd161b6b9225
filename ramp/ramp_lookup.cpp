#include "ramp/ramp_lookup.h"

#include <cstdint>
#include <iterator>

#include "ramp/bezier_segment.h"

namespace {

// One Bezier segment whose parameters are slots k / 32: the only ones the search asks for.
// Each t-coordinate is computed once per segment and then looked up, and the bracket is
// halved on whole numbers, which shortens the chain of dependent steps per sample. The
// numbers are those of the plain search: every slot's u and each midpoint are exact floats.
class SlottedCurve {
  public:
    static constexpr int kEnd = 32;

    explicit SlottedCurve(const BezierSegment& segment)
        : c0_(segment.control[0]),
          c1_(segment.control[2]),
          c2_(segment.control[4]),
          c3_(segment.control[6]) {
        // The search takes the keys themselves as the bracket's ends, never t(0) or t(1).
        t_[0] = c0_;
        t_[kEnd] = c3_;
    }

    int Mid(int a, int b) const { return (a + b) / 2; }
    float U(int a) const { return float(a) / float(kEnd); }
    float TAt(int a) {
        const uint64_t bit = uint64_t(1) << a;
        if ((known_ & bit) == 0) {
            t_[a] = EvalBezier(c0_, c1_, c2_, c3_, U(a));
            known_ |= bit;
        }
        return t_[a];
    }

  private:
    float c0_, c1_, c2_, c3_;
    uint64_t known_ = 0;
    float t_[kEnd + 1];
};

RampKey ToKey(const RampPoints::value_type& entry) {
    return {entry.first, entry.second};
}

float SamplePosition(int i, int count) {
    return count > 1 ? float(i) / float(count - 1) : 0.0f;
}

}  // namespace

void FillRampLookup(const Ramp& ramp, float* values, int count) {
    if (ramp.interpolation != RampInterpolation_Bezier || ramp.points == nullptr ||
        ramp.points->size() < 2) {
        for (int i = 0; i < count; ++i) {
            values[i] = ramp.Evaluate(SamplePosition(i, count));
        }
        return;
    }
    const RampPoints& points = *ramp.points;
    // The samples ascend, so the first key after each one only moves forward.
    auto right = points.begin();
    auto segmentRight = points.end();
    BezierSegment segment({0, 0}, {0, 0}, {0, 0}, {0, 0});
    SlottedCurve curve(segment);
    for (int i = 0; i < count; ++i) {
        const float x = SamplePosition(i, count);
        while (right != points.end() && !(x < right->first)) {
            ++right;
        }
        if (right == points.begin() || right == points.end()) {
            values[i] = ramp.Evaluate(x);
            continue;
        }
        if (right != segmentRight) {
            const auto left = std::prev(right);
            const auto after = std::next(right);
            segment = BezierSegment(left == points.begin() ? ToKey(*left) : ToKey(*std::prev(left)),
                                    ToKey(*left), ToKey(*right),
                                    after == points.end() ? ToKey(*right) : ToKey(*after));
            curve = SlottedCurve(segment);
            segmentRight = right;
        }
        values[i] = ClampRampValue(
            segment.ValueAt(x, curve, 0, SlottedCurve::kEnd / 2, SlottedCurve::kEnd));
    }
}
