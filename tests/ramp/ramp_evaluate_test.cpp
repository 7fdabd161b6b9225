#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "ramp/ramp.h"
#include "ramp/scoped_ramp.h"

namespace {

TEST(RampEvaluateTest, EmptyOneKeyAndClampedValues) {
    const ScopedRamp empty(RampMode_All, RampInterpolation_Line);
    for (float x : {-1.0f, 0.0f, 0.5f, 1.0f, 2.0f}) {
        EXPECT_EQ(empty->Evaluate(x), 1.0f) << x;
    }
    const ScopedRamp one(RampMode_All, RampInterpolation_Sin, {{0.4f, 0.3f}});
    for (float x : {-1.0f, 0.0f, 0.4f, 0.9f, 2.0f}) {
        EXPECT_EQ(one->Evaluate(x), 0.3f) << x;
    }
    const ScopedRamp high(RampMode_All, RampInterpolation_Sin, {{0.5f, 7.0f}});
    EXPECT_EQ(high->Evaluate(0.0f), 1.0f);
    const ScopedRamp outOfRange(RampMode_All, RampInterpolation_Line,
                                {{0.0f, 2.0f}, {1.0f, -1.0f}});
    EXPECT_EQ(outOfRange->Evaluate(0.0f), 1.0f);
    EXPECT_EQ(outOfRange->Evaluate(0.5f), 0.5f);
    EXPECT_EQ(outOfRange->Evaluate(1.0f), 0.0f);
    EXPECT_EQ(outOfRange->Evaluate(std::numeric_limits<float>::quiet_NaN()), 0.0f);
}

TEST(RampEvaluateTest, EachInterpolationBetweenAndOnKeys) {
    ScopedRamp ramp(RampMode_All, RampInterpolation_Line,
                    {{0.2f, 0.0f}, {0.6f, 0.8f}, {0.8f, 0.4f}});
    EXPECT_FLOAT_EQ(ramp->Evaluate(0.4f), 0.4f);
    EXPECT_FLOAT_EQ(ramp->Evaluate(0.7f), 0.6f);
    ramp->interpolation = RampInterpolation_Sin;
    // Cosine ease: a quarter of the way gives (1 - cos(pi / 4)) / 2 of the rise.
    EXPECT_NEAR(ramp->Evaluate(0.3f), 0.8 * (0.5 - 0.5 * std::cos(M_PI / 4)), 1e-6);
    EXPECT_NEAR(ramp->Evaluate(0.4f), 0.4f, 1e-6);
    ramp->interpolation = RampInterpolation_Step;
    EXPECT_EQ(ramp->Evaluate(0.59f), 0.0f);
    EXPECT_EQ(ramp->Evaluate(0.79f), 0.8f);
    for (int32_t interpolation : {0, 1, 2, 3}) {
        ramp->interpolation = interpolation;
        // Before the first key, on each key and after the last: the key values themselves.
        EXPECT_EQ(ramp->Evaluate(-5.0f), 0.0f) << interpolation;
        EXPECT_EQ(ramp->Evaluate(0.2f), 0.0f) << interpolation;
        EXPECT_EQ(ramp->Evaluate(0.6f), 0.8f) << interpolation;
        EXPECT_EQ(ramp->Evaluate(0.8f), 0.4f) << interpolation;
        EXPECT_EQ(ramp->Evaluate(3.0f), 0.4f) << interpolation;
    }
    // An interpolation value without a meaning gives 1.0 between keys, unclamped paths aside.
    ramp->interpolation = 4;
    EXPECT_EQ(ramp->Evaluate(0.4f), 1.0f);
    ramp->interpolation = -1;
    EXPECT_EQ(ramp->Evaluate(0.7f), 1.0f);
    EXPECT_EQ(ramp->Evaluate(0.8f), 0.4f);
}

TEST(RampEvaluateTest, EvalBezierAndParameterSearch) {
    EXPECT_EQ(EvalBezier(0.25f, 9.0f, -9.0f, 0.75f, 0.0f), 0.25f);
    EXPECT_EQ(EvalBezier(0.25f, 9.0f, -9.0f, 0.75f, 1.0f), 0.75f);
    EXPECT_FLOAT_EQ(EvalBezier(0.0f, 1.0f, 2.0f, 4.0f, 0.5f), (0.0f + 3.0f + 6.0f + 4.0f) / 8.0f);

    // t-coordinates evenly spaced make t(u) = u.
    const float control[8] = {0.0f, 0.0f, 1.0f / 3, 0.5f, 2.0f / 3, 0.5f, 1.0f, 1.0f};
    // Within 0.0001 of either bracket end, that end.
    EXPECT_EQ(BezierParameterAtX(control, 0.0f, 0.0f, 1.0f, 1.0f, 0.00009f, 1), 0.0f);
    EXPECT_EQ(BezierParameterAtX(control, 0.0f, 0.0f, 1.0f, 1.0f, 0.99991f, 1), 1.0f);
    // Five evaluations done: straight line inside the bracket, no further halving.
    EXPECT_EQ(BezierParameterAtX(control, 0.0f, 0.0f, 1.0f, 1.0f, 0.3f, 5), 0.3f);
    EXPECT_EQ(BezierParameterAtX(control, 0.2f, 0.2f, 0.6f, 0.6f, 0.5f, 7), 0.5f);
    // From the first halving on, four more halvings then the line: close to the exact u.
    EXPECT_NEAR(BezierParameterAtX(control, 0.0f, 0.0f, 0.5f, 0.5f, 0.3f, 1), 0.3f, 1e-6);
    EXPECT_NEAR(BezierParameterAtX(control, 0.5f, 0.5f, 1.0f, 1.0f, 0.8123f, 1), 0.8123f, 1e-6);
}

// The exact value of the Bezier segment from l to r with tangents from p and n, found in
// double precision by bisection on the curve itself.
double ReferenceBezier(const double p[2], const double l[2], const double r[2], const double n[2],
                       double x) {
    auto chord = [](const double* a, const double* b) {
        return std::hypot(b[0] - a[0], b[1] - a[1]);
    };
    const double sL = 0.3 * chord(l, r) / (chord(p, l) + chord(l, r));
    const double sR = 0.3 * chord(l, r) / (chord(l, r) + chord(r, n));
    const double c1[2] = {l[0] + sL * (r[0] - p[0]), l[1] + sL * (r[1] - p[1])};
    const double c2[2] = {r[0] - sR * (n[0] - l[0]), r[1] - sR * (n[1] - l[1])};
    auto at = [&](int axis, double u) {
        const double s = 1 - u;
        return s * s * s * l[axis] + 3 * s * s * u * c1[axis] + 3 * s * u * u * c2[axis] +
               u * u * u * r[axis];
    };
    double lo = 0;
    double hi = 1;
    for (int i = 0; i < 60; ++i) {
        const double mid = (lo + hi) / 2;
        (at(0, mid) > x ? hi : lo) = mid;
    }
    return at(1, lo);
}

TEST(RampEvaluateTest, BezierFollowsNeighbourTangentsAndSnapsAtKeys) {
    const ScopedRamp ramp(RampMode_All, RampInterpolation_Bezier,
                          {{0.0f, 0.0f}, {0.2f, 1.0f}, {0.7f, 0.1f}, {1.0f, 0.6f}});
    const double keys[4][2] = {{0.0, 0.0}, {0.2, 1.0}, {0.7, 0.1}, {1.0, 0.6}};
    // Every segment: the first has no key before it, the last none after it.
    for (int segment = 0; segment < 3; ++segment) {
        const double* p = keys[segment == 0 ? 0 : segment - 1];
        const double* n = keys[segment == 2 ? 3 : segment + 2];
        for (int i = 1; i < 10; ++i) {
            const double x = keys[segment][0] + (keys[segment + 1][0] - keys[segment][0]) * i / 10;
            const double expected =
                std::clamp(ReferenceBezier(p, keys[segment], keys[segment + 1], n, x), 0.0, 1.0);
            EXPECT_NEAR(ramp->Evaluate(float(x)), expected, 2e-3) << segment << " " << x;
        }
    }
    // Within 0.0001 after the left key its value, within 0.0001 before the right key its value.
    EXPECT_EQ(ramp->Evaluate(0.20009f), 1.0f);
    EXPECT_EQ(ramp->Evaluate(0.69991f), 0.1f);
    EXPECT_EQ(ramp->Evaluate(0.70009f), 0.1f);
    EXPECT_NE(ramp->Evaluate(0.6997f), 0.1f);

    // Straight keys give a straight Bezier.
    const ScopedRamp diagonal(RampMode_All, RampInterpolation_Bezier, {{0.0f, 0.0f}, {1.0f, 1.0f}});
    for (int i = 0; i <= 2047; ++i) {
        const float x = float(i) / 2047.0f;
        EXPECT_NEAR(diagonal->Evaluate(x), x, 2e-4) << x;
    }
}

TEST(RampEvaluateTest, ExtremeKeysGiveNumbersInRange) {
    const float huge = std::numeric_limits<float>::max();
    const float inf = std::numeric_limits<float>::infinity();
    for (int32_t interpolation : {0, 1, 2, 3}) {
        const ScopedRamp ramp(
            RampMode_All, interpolation,
            {{-inf, 0.5f}, {-huge, -huge}, {0.5f, huge}, {huge, inf}, {inf, 0.0f}});
        for (float x : {-inf, -huge, -1.0f, 0.0f, 0.25f, 0.5f, 1e30f, huge, inf}) {
            const float value = ramp->Evaluate(x);
            EXPECT_TRUE(value >= 0.0f && value <= 1.0f)
                << interpolation << " " << x << " " << value;
        }
    }
}

}  // namespace
