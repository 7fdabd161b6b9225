// A curve's values, its positions spread by area and its lookup table, on ramps of every
// interpolation, including keys and values far outside [0, 1].
#include <cmath>
#include <cstring>
#include <deque>
#include <limits>
#include <random>
#include <tuple>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "fuzz/curve_promises.h"
#include "ramp/ramp_lookup.h"

namespace {

const float kInf = std::numeric_limits<float>::infinity();
const float kNaN = std::numeric_limits<float>::quiet_NaN();
const float kMax = std::numeric_limits<float>::max();

std::vector<float> Even(int n) {
    std::vector<float> positions;
    for (int k = 0; k < n; ++k) {
        positions.push_back(float(k) / float(n - 1));
    }
    return positions;
}

void ExpectPositions(const ScopedRamp& ramp, const std::vector<float>& expected) {
    const std::vector<float> actual = ramp->DistributePositions(int(expected.size()));
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < actual.size(); ++i) {
        EXPECT_NEAR(actual[i], expected[i], 1e-5) << "position " << i;
    }
}

TEST(RampEvaluateTest, EachInterpolationBetweenOnAndBeyondKeys) {
    // No keys: 1; one key: its value; values clamped to [0, 1], a NaN position to 0.
    const ScopedRamp empty(RampMode_All, RampInterpolation_Line);
    const ScopedRamp one(RampMode_All, RampInterpolation_Sin, {{0.4f, 0.3f}});
    const ScopedRamp outOfRange(RampMode_All, RampInterpolation_Line,
                                {{0.0f, 2.0f}, {1.0f, -1.0f}});
    const std::tuple<const ScopedRamp&, float, float> cases[] = {
        {empty, -1.0f, 1.0f},     {empty, 0.5f, 1.0f},      {one, -1.0f, 0.3f},
        {one, 2.0f, 0.3f},        {outOfRange, 0.0f, 1.0f}, {outOfRange, 0.5f, 0.5f},
        {outOfRange, 1.0f, 0.0f}, {outOfRange, kNaN, 0.0f}};
    for (const auto& [ramp, x, expected] : cases) {
        EXPECT_EQ(ramp->Evaluate(x), expected) << x;
    }
    // Between keys by the interpolation (the cosine ease a quarter of the way gives
    // (1 - cos(pi / 4)) / 2 of the rise); before the first key, on each key and after the last
    // the key values themselves; an interpolation value without a meaning 1.0 between keys.
    ScopedRamp ramp(RampMode_All, 0, {{0.2f, 0.0f}, {0.6f, 0.8f}, {0.8f, 0.4f}});
    const std::tuple<int32_t, float, float> values[] = {
        {1, 0.4f, 0.4f},  {1, 0.7f, 0.6f},  {0, 0.3f, 0.8f * (0.5f - 0.5f * std::cos(M_PI / 4))},
        {0, 0.4f, 0.4f},  {2, 0.59f, 0.0f}, {2, 0.79f, 0.8f},
        {-1, 0.7f, 1.0f}, {-1, 0.8f, 0.4f}};
    for (const auto& [interpolation, x, expected] : values) {
        ramp->interpolation = interpolation;
        EXPECT_NEAR(ramp->Evaluate(x), expected, 1e-6) << interpolation << " at " << x;
    }
    for (int32_t interpolation : {0, 1, 2, 3}) {
        ramp->interpolation = interpolation;
        // clang-format off
        for (const auto& [x, value] : {std::pair<float, float>{-5.0f, 0.0f}, {0.2f, 0.0f},
                                       {0.6f, 0.8f}, {0.8f, 0.4f}, {3.0f, 0.4f}}) {
            // clang-format on
            EXPECT_EQ(ramp->Evaluate(x), value) << interpolation << " at " << x;
        }
    }
}

TEST(RampEvaluateTest, BezierFollowsNeighbourTangentsAndSnapsAtKeys) {
    EXPECT_FLOAT_EQ(EvalBezier(0.0f, 1.0f, 2.0f, 4.0f, 0.5f), (0.0f + 3.0f + 6.0f + 4.0f) / 8.0f);
    EXPECT_EQ(EvalBezier(0.25f, 9.0f, -9.0f, 0.75f, 1.0f), 0.75f);
    // t-coordinates evenly spaced make t(u) = u. Within 0.0001 of either bracket end, that end;
    // after five evaluations the straight line inside the bracket; from the first halving on,
    // four more halvings then the line: close to the exact u.
    const float control[8] = {0.0f, 0.0f, 1.0f / 3, 0.5f, 2.0f / 3, 0.5f, 1.0f, 1.0f};
    EXPECT_EQ(BezierParameterAtX(control, 0.0f, 0.0f, 1.0f, 1.0f, 0.00009f, 1), 0.0f);
    EXPECT_EQ(BezierParameterAtX(control, 0.0f, 0.0f, 1.0f, 1.0f, 0.99991f, 1), 1.0f);
    EXPECT_EQ(BezierParameterAtX(control, 0.2f, 0.2f, 0.6f, 0.6f, 0.5f, 7), 0.5f);
    EXPECT_NEAR(BezierParameterAtX(control, 0.5f, 0.5f, 1.0f, 1.0f, 0.8123f, 1), 0.8123f, 1e-6);

    // The exact values of the Bezier segments from each key to the next, with control points
    // 0.3 of the chord along the neighbouring keys' direction (the first segment has no key
    // before it, the last none after it), found in double precision by bisection.
    const ScopedRamp ramp(RampMode_All, RampInterpolation_Bezier,
                          {{0.0f, 0.0f}, {0.2f, 1.0f}, {0.7f, 0.1f}, {1.0f, 0.6f}});
    const std::pair<float, double> exact[] = {
        {0.05f, 0.3462132}, {0.1f, 0.7175195},  {0.3f, 0.8786191}, {0.45f, 0.5424784},
        {0.6f, 0.2232157},  {0.85f, 0.2800339}, {0.95f, 0.5023808}};
    for (const auto& [x, value] : exact) {
        EXPECT_NEAR(ramp->Evaluate(x), value, 2e-3) << x;
    }
    // Within 0.0001 after the left key its value, within 0.0001 before the right key its value.
    EXPECT_EQ(ramp->Evaluate(0.20009f), 1.0f);
    EXPECT_EQ(ramp->Evaluate(0.69991f), 0.1f);
    EXPECT_NE(ramp->Evaluate(0.6997f), 0.1f);
    // Straight keys give a straight Bezier.
    const ScopedRamp diagonal(RampMode_All, RampInterpolation_Bezier, {{0.0f, 0.0f}, {1.0f, 1.0f}});
    for (int i = 0; i <= 2047; ++i) {
        EXPECT_NEAR(diagonal->Evaluate(float(i) / 2047.0f), float(i) / 2047.0f, 2e-4) << i;
    }
}

TEST(RampDistributeTest, PositionsFollowTheArea) {
    const ScopedRamp density(RampMode_All, RampInterpolation_Sin, {{0.0f, 0.5f}, {1.0f, 0.5f}});
    EXPECT_TRUE(density->DistributePositions(0).empty());
    EXPECT_TRUE(density->DistributePositions(-2147483647 - 1).empty());
    ExpectPositions(density, {0.0f, 1.0f});
    ExpectPositions(density, Even(7));
    EXPECT_EQ(density->DistributePositions(7).back(), 1.0f);
    // Fewer than two keys, no area at all, or areas each too small to count: the even spread;
    // one position: the start of the area.
    const ScopedRamp empty(RampMode_All, RampInterpolation_Line);
    const ScopedRamp one(RampMode_All, RampInterpolation_Line, {{0.3f, 0.9f}});
    const ScopedRamp flatZero(RampMode_All, RampInterpolation_Line, {{0.0f, 0.0f}, {1.0f, 0.0f}});
    ScopedRamp crumbs(RampMode_All, RampInterpolation_Line);
    for (int i = 0; i <= 10; ++i) {
        (*crumbs->points)[float(i) / 10.0f] = 0.00009f;
    }
    for (const ScopedRamp* ramp : {&empty, &one, &flatZero, &std::as_const(crumbs)}) {
        EXPECT_EQ((*ramp)->DistributePositions(5), Even(5));
    }
    EXPECT_EQ(crumbs->DistributePositions(1), std::vector<float>{0.0f});
    EXPECT_EQ(
        ScopedRamp(RampMode_All, RampInterpolation_Line, {{0.0f, 0.0f}, {0.4f, 0.0f}, {1.0f, 1.0f}})
            ->DistributePositions(1),
        std::vector<float>{0.4f});
    // The line from 0 to 1 over [0, 0.5] holds 0.25 of the area 0.75; the positions crowd
    // where the curve is high. Sin and Bezier spread as the straight line between their keys.
    for (int32_t interpolation : {0, 1, 3}) {
        const ScopedRamp rising(RampMode_All, interpolation,
                                {{0.0f, 0.0f}, {0.5f, 1.0f}, {1.0f, 1.0f}});
        ExpectPositions(rising, {0.0f, 0.5f, 0.75f, 1.0f});
        ExpectPositions(rising, {0.0f, 0.4330127f, 0.625f, 0.8125f, 1.0f});
    }
    // A curve that is 0 from 0.6 on ends its positions at 0.6 and puts none beyond; Step holds
    // the left value, so its zero run starts at the key where the value drops.
    const ScopedRamp zeroRun(RampMode_All, RampInterpolation_Line,
                             {{0.0f, 1.0f}, {0.5f, 1.0f}, {0.6f, 0.0f}, {1.0f, 0.0f}});
    ExpectPositions(zeroRun, {0.0f, 0.275f, 0.6f});
    EXPECT_EQ(zeroRun->DistributePositions(200).back(), 0.6f);
    ExpectPositions(ScopedRamp(RampMode_All, 2, {{0.0f, 1.0f}, {0.5f, 0.0f}, {1.0f, 0.0f}}),
                    {0.0f, 0.25f, 0.5f});
    // Area before the first key and after the last counts at the first and last value; an
    // interpolation value without a meaning spreads by the first key alone.
    ExpectPositions(ScopedRamp(RampMode_All, 1, {{0.25f, 1.0f}, {0.75f, 1.0f}}), Even(5));
    ExpectPositions(ScopedRamp(RampMode_All, 9, {{0.2f, 0.5f}, {0.6f, 0.9f}}), {0.0f, 0.2f, 1.0f});
    ExpectPositions(ScopedRamp(RampMode_All, 9, {{0.0f, 0.5f}, {1.0f, 0.5f}}), Even(6));
    // Position 1 falls exactly where the falling segment reaches 0; the area left for the rising
    // segment after it comes out a hair below zero, so the square root has no real answer. The
    // nearer end is the rising segment's start, not its end at 1.0.
    EXPECT_EQ(ScopedRamp(RampMode_All, 1, {{0.0f, 0.4f}, {0.2f, 0.0f}, {1.0f, 0.9f}})
                  ->DistributePositions(11)[1],
              0.2f);
}

// Random curves of values in [0, 1]: positions ascend inside the area. Extreme keys and values
// of every interpolation keep what a curve promises.
TEST(RampDistributeTest, RandomAndExtremeCurvesKeepTheirPromises) {
    std::mt19937 random(20240611);
    for (int trial = 0; trial < 3000; ++trial) {
        ScopedRamp ramp(RampMode_All, int32_t(random() % 5));
        for (int i = 2 + int(random() % 6); i > 0; --i) {
            (*ramp->points)[float(random() % 21) / 20.0f] =
                random() % 3 == 0 ? 0.0f : float(random() % 11) / 10.0f;
        }
        const std::vector<float> positions = ramp->DistributePositions(1 + int(random() % 80));
        for (size_t i = 0; i < positions.size(); ++i) {
            ASSERT_TRUE(positions[i] >= (i > 0 ? positions[i - 1] : 0.0f) && positions[i] <= 1.0f)
                << trial << " " << i;
        }
    }
    for (int32_t interpolation : {0, 1, 2, 3, 4}) {
        const ScopedRamp extremes[] = {
            {RampMode_All, interpolation, {{0.0f, kNaN}, {0.5f, 1.0f}, {1.0f, 0.0f}}},
            {RampMode_All, interpolation, {{0.0f, 0.0f}, {0.5f, 0.000001f}, {1.0f, 0.0f}}},
            {RampMode_All, interpolation, {{0.0f, kInf}, {1.0f, 1.0f}}},
            {RampMode_All, interpolation, {{0.0f, 0.0f}, {1e6f, 0.000005f}}},
            {RampMode_All, interpolation, {{-kMax, 1.0f}, {0.0f, 0.0f}, {kMax, 0.5f}}},
        };
        for (const ScopedRamp& ramp : extremes) {
            EXPECT_TRUE(KeepsCurvePromises(*ramp)) << interpolation << " " << &ramp - extremes;
        }
        const ScopedRamp infinite(
            RampMode_All, interpolation,
            {{-kInf, 0.5f}, {-kMax, -kMax}, {0.5f, kMax}, {kMax, kInf}, {kInf, 0.0f}});
        for (float x : {-kInf, -kMax, -1.0f, 0.0f, 0.25f, 0.5f, 1e30f, kMax, kInf}) {
            const float value = infinite->Evaluate(x);
            EXPECT_TRUE(value >= 0.0f && value <= 1.0f)
                << interpolation << " " << x << " " << value;
        }
    }
}

// The lookup table holds what Evaluate gives at every sample, bit for bit (values that are not
// numbers compare too), and nothing past its end.
TEST(RampLookupTest, GivesWhatEvaluateGivesForEverySample) {
    std::deque<ScopedRamp> ramps;
    std::mt19937 random(4104);
    for (int trial = 0; trial < 400; ++trial) {
        ScopedRamp& ramp = ramps.emplace_back(RampMode_All, int32_t(random() % 5));
        for (int i = int(random() % 40); i > 0; --i) {
            // Keys mostly inside [0, 1], some outside; some values out of range.
            (*ramp->points)[float(int(random() % 2400) - 200) / 2000.0f] =
                float(int(random() % 1400) - 200) / 1000.0f;
        }
    }
    using Keys = std::initializer_list<std::pair<const float, float>>;
    ramps.emplace_back(RampMode_All, 3,
                       Keys{{-kInf, 0.5f},
                            {0.0f, 2.0f},
                            {0.3f, kInf},
                            {0.30001f, 0.0f},
                            {0.7f, -1.0f},
                            {kInf, 0.2f}});
    ramps.emplace_back(RampMode_All, 3,
                       Keys{{0.5f, 0.0f}, {0.50001f, 1.0f}, {0.50002f, 0.0f}, {0.50003f, 1.0f}});
    for (size_t r = 0; r < ramps.size(); ++r) {
        for (int count : {0, 1, 2, 3, 2048}) {
            std::vector<float> values(size_t(count) + 1, -7.0f);
            FillRampLookup(*ramps[r], values.data(), count);
            for (int i = 0; i < count; ++i) {
                const float expected =
                    ramps[r]->Evaluate(count > 1 ? float(i) / float(count - 1) : 0);
                ASSERT_EQ(0, std::memcmp(&values[size_t(i)], &expected, sizeof expected))
                    << "ramp " << r << ": sample " << i << " of " << count;
            }
            EXPECT_EQ(values[size_t(count)], -7.0f) << "written past the end";
        }
    }
}

}  // namespace
