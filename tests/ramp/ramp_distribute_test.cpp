#include <cmath>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "ramp/ramp.h"
#include "ramp/scoped_ramp.h"

namespace {

std::vector<float> Even(int n) {
    std::vector<float> positions;
    for (int k = 0; k < n; ++k) {
        positions.push_back(n > 1 ? float(k) / float(n - 1) : 0.0f);
    }
    return positions;
}

void ExpectPositions(const std::vector<float>& actual, const std::vector<float>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < actual.size(); ++i) {
        EXPECT_NEAR(actual[i], expected[i], 1e-5) << "position " << i;
    }
}

TEST(RampDistributeTest, CountsAndEvenSpreads) {
    const ScopedRamp density(RampMode_All, RampInterpolation_Sin, {{0.0f, 0.5f}, {1.0f, 0.5f}});
    EXPECT_TRUE(density->DistributePositions(0).empty());
    EXPECT_TRUE(density->DistributePositions(-2147483647 - 1).empty());
    ExpectPositions(density->DistributePositions(2), {0.0f, 1.0f});
    ExpectPositions(density->DistributePositions(7), Even(7));
    EXPECT_EQ(density->DistributePositions(7).back(), 1.0f);

    // Fewer than two keys, no area at all, or areas each too small to count: the even spread.
    const ScopedRamp empty(RampMode_All, RampInterpolation_Line);
    const ScopedRamp one(RampMode_All, RampInterpolation_Line, {{0.3f, 0.9f}});
    const ScopedRamp flatZero(RampMode_All, RampInterpolation_Line, {{0.0f, 0.0f}, {1.0f, 0.0f}});
    ScopedRamp crumbs(RampMode_All, RampInterpolation_Line);
    for (int i = 0; i <= 10; ++i) {
        (*crumbs->points)[float(i) / 10.0f] = 0.00009f;
    }
    for (const Ramp* ramp :
         std::initializer_list<const Ramp*>{&*empty, &*one, &*flatZero, &*crumbs}) {
        EXPECT_EQ(ramp->DistributePositions(5), Even(5));
    }

    // One position: the start of the area.
    EXPECT_EQ(density->DistributePositions(1), std::vector<float>{0.0f});
    const ScopedRamp late(RampMode_All, RampInterpolation_Line,
                          {{0.0f, 0.0f}, {0.4f, 0.0f}, {1.0f, 1.0f}});
    EXPECT_EQ(late->DistributePositions(1), std::vector<float>{0.4f});
    EXPECT_EQ(crumbs->DistributePositions(1), std::vector<float>{0.0f});
}

TEST(RampDistributeTest, PositionsFollowTheArea) {
    // The line from 0 to 1 over [0, 0.5] holds 0.25 of the area 0.75; the positions crowd
    // where the curve is high.
    const ScopedRamp rising(RampMode_All, RampInterpolation_Line,
                            {{0.0f, 0.0f}, {0.5f, 1.0f}, {1.0f, 1.0f}});
    ExpectPositions(rising->DistributePositions(4), {0.0f, 0.5f, 0.75f, 1.0f});
    ExpectPositions(rising->DistributePositions(5), {0.0f, 0.4330127f, 0.625f, 0.8125f, 1.0f});
    // Sin and Bezier spread as the straight line between their keys does.
    for (int32_t interpolation : {RampInterpolation_Sin, RampInterpolation_Bezier}) {
        ScopedRamp same(RampMode_All, interpolation, {{0.0f, 0.0f}, {0.5f, 1.0f}, {1.0f, 1.0f}});
        EXPECT_EQ(same->DistributePositions(5), rising->DistributePositions(5));
    }

    // A curve that is 0 from 0.6 on ends its positions at 0.6 and puts none beyond.
    const ScopedRamp zeroRun(RampMode_All, RampInterpolation_Line,
                             {{0.0f, 1.0f}, {0.5f, 1.0f}, {0.6f, 0.0f}, {1.0f, 0.0f}});
    ExpectPositions(zeroRun->DistributePositions(3), {0.0f, 0.275f, 0.6f});
    const std::vector<float> many = zeroRun->DistributePositions(200);
    EXPECT_EQ(many.back(), 0.6f);
    for (float p : many) {
        EXPECT_LE(p, 0.6f);
    }

    // Step holds the left value; its zero run starts at the key where the value drops.
    const ScopedRamp step(RampMode_All, RampInterpolation_Step,
                          {{0.0f, 1.0f}, {0.5f, 0.0f}, {1.0f, 0.0f}});
    ExpectPositions(step->DistributePositions(3), {0.0f, 0.25f, 0.5f});

    // Area before the first key and after the last counts at the first and last value.
    const ScopedRamp inner(RampMode_All, RampInterpolation_Line, {{0.25f, 1.0f}, {0.75f, 1.0f}});
    ExpectPositions(inner->DistributePositions(5), Even(5));

    // An interpolation value without a meaning spreads by the first key alone.
    const ScopedRamp unknown(RampMode_All, 9, {{0.2f, 0.5f}, {0.6f, 0.9f}});
    ExpectPositions(unknown->DistributePositions(3), {0.0f, 0.2f, 1.0f});
    const ScopedRamp unknownFlat(RampMode_All, 9, {{0.0f, 0.5f}, {1.0f, 0.5f}});
    ExpectPositions(unknownFlat->DistributePositions(6), Even(6));
}

TEST(RampDistributeTest, RoundingNextToAZeroKeyTakesTheNearerEnd) {
    // Position 1 falls exactly where the falling segment reaches 0; the area left for the rising
    // segment after it comes out a hair below zero, so the square root has no real answer.
    // The nearer end is the rising segment's start, not its end at 1.0.
    const ScopedRamp valley(RampMode_All, RampInterpolation_Line,
                            {{0.0f, 0.4f}, {0.2f, 0.0f}, {1.0f, 0.9f}});
    const std::vector<float> positions = valley->DistributePositions(11);
    EXPECT_EQ(positions[1], 0.2f);
    for (size_t i = 1; i < positions.size(); ++i) {
        EXPECT_LE(positions[i - 1], positions[i]) << i;
    }
}

TEST(RampDistributeTest, RandomCurvesGiveAscendingPositionsInsideTheirArea) {
    std::mt19937 random(20240611);
    for (int trial = 0; trial < 3000; ++trial) {
        const int32_t interpolation = int32_t(random() % 5);
        ScopedRamp ramp(RampMode_All, interpolation);
        const int keys = 2 + int(random() % 6);
        for (int i = 0; i < keys; ++i) {
            const float t = float(random() % 21) / 20.0f;
            (*ramp->points)[t] = random() % 3 == 0 ? 0.0f : float(random() % 11) / 10.0f;
        }
        const int n = 1 + int(random() % 80);
        const std::vector<float> positions = ramp->DistributePositions(n);
        ASSERT_EQ(positions.size(), size_t(n));
        for (size_t i = 0; i < positions.size(); ++i) {
            ASSERT_TRUE(positions[i] >= 0.0f && positions[i] <= 1.0f) << trial << " " << i;
            if (i > 0) {
                ASSERT_LE(positions[i - 1], positions[i]) << trial << " " << i;
            }
        }
    }
}

TEST(RampDistributeTest, ExtremeKeysGiveFinitePositions) {
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float huge = std::numeric_limits<float>::max();
    for (int32_t interpolation : {0, 1, 2, 3, 4}) {
        const ScopedRamp nanValue(RampMode_All, interpolation,
                                  {{0.0f, nan}, {0.5f, 1.0f}, {1.0f, 0.0f}});
        const ScopedRamp zeroStart(RampMode_All, interpolation,
                                   {{0.0f, 0.0f}, {0.5f, 0.000001f}, {1.0f, 0.0f}});
        const ScopedRamp infValue(RampMode_All, interpolation, {{0.0f, inf}, {1.0f, 1.0f}});
        const ScopedRamp wide(RampMode_All, interpolation,
                              {{-huge, 1.0f}, {0.0f, 0.0f}, {huge, 0.5f}});
        const ScopedRamp tinyNearFlat(RampMode_All, interpolation,
                                      {{0.0f, 0.0f}, {1e6f, 0.000005f}});
        for (const Ramp* ramp : {&*nanValue, &*zeroStart, &*infValue, &*tinyNearFlat}) {
            for (float p : ramp->DistributePositions(9)) {
                EXPECT_TRUE(std::isfinite(p)) << interpolation;
            }
        }
        EXPECT_EQ(wide->DistributePositions(9).size(), 9u);
    }
}

}  // namespace
