#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "render/distribute_base_points.h"
#include "render/mask_samples.h"
#include "host/suites/path_suites.h"
#include "render_test_host.h"
#include "shell/toolkit/errors.h"

namespace {

using quorvel::host::MaskKeyframe;
using quorvel::host::MaskPath;
using quorvel::host::MaskShape;
using quorvel::host::MaskVertex;

MaskShape Polygon(std::vector<std::pair<double, double>> corners, bool closed) {
    MaskShape shape;
    shape.closed = closed;
    for (const auto& corner : corners) {
        shape.vertices.push_back(MaskVertex{{corner.first, corner.second}, {0, 0}, {0, 0}});
    }
    return shape;
}

// The even density of the parameters' default curve.
constexpr std::initializer_list<std::pair<const float, float>> kEven = {{0.0f, 0.5f}, {1.0f, 0.5f}};

class MaskSamplesTest : public testing::Test {
  protected:
    void TearDown() override { EXPECT_TRUE(host.Balanced()) << host.Outstanding(); }

    RenderTestHost host;
    RampHandle density{host.host, RampInterpolation_Sin, kEven};
};

// Every 50 units along a square's outline; a point exactly on a corner is the end of the
// earlier side; the last point closes the square. Inverted, the table runs backwards.
TEST_F(MaskSamplesTest, SamplesASquareByArcLengthAndInvertsIt) {
    const PF_PathID square = host.AddMask(Polygon({{0, 0}, {100, 0}, {100, 100}, {0, 100}}, true));
    SuiteHandler suites(host.inData.pica_basicP);
    MaskSamples samples;
    ASSERT_TRUE(samples.Measure(&host.inData, &suites, square));
    EXPECT_EQ(host.host.ledger().Count("path of mask 1"), 1);
    ASSERT_EQ(samples.segments.size(), 4u);
    EXPECT_NEAR(samples.totalLength, 400.0, 1e-9);
    EXPECT_NEAR(samples.segments[2].start, 200.0, 1e-9);
    EXPECT_EQ(host.Calls("PF_PathPrepareSegLength"), 4);
    EXPECT_EQ(host.Calls("PF_PathCleanupSegLength"), 4);

    const MaskBasePoints table = samples.Sample(9, density.ramp(), false);
    EXPECT_EQ(samples.isOpen, 0);
    ASSERT_EQ(table.size(), 9u);
    const double expected[9][2] = {{0, 0},    {50, 0},  {100, 0}, {100, 50}, {100, 100},
                                   {50, 100}, {0, 100}, {0, 50},  {0, 0}};
    for (size_t j = 0; j < 9; ++j) {
        EXPECT_EQ(table(j).key, j / 8.0);
        EXPECT_NEAR(table(j).point.x, expected[j][0], 1e-6) << j;
        EXPECT_NEAR(table(j).point.y, expected[j][1], 1e-6) << j;
    }
    // One preparation per segment reached, at most.
    EXPECT_LE(host.Calls("PF_PathPrepareSegLength"), 4 + 4);
    EXPECT_EQ(quorvel::host::LivePreparations(host.host), 0u);

    const MaskBasePoints inverted = samples.Sample(9, density.ramp(), true);
    EXPECT_EQ(inverted.front().key, 0.0);
    EXPECT_EQ(inverted.back().key, 1.0);
    for (int n = 0; n <= 16; ++n) {
        const MaskPoint point = MaskPointAt(inverted, n / 16.0);
        const double along = 400.0 * (1.0 - n / 16.0);  // the outline's arc length
        const double side = std::fmod(along, 100.0);
        const double xs[] = {side, 100, 100 - side, 0, 0};
        const double ys[] = {0, side, 100, 100 - side, 0};
        const int s = static_cast<int>(along / 100.0);
        EXPECT_NEAR(point.x, xs[s], 1e-9) << n;
        EXPECT_NEAR(point.y, ys[s], 1e-9) << n;
    }
}

// A line sampled at its two ends, a closed path whose segments have no length, a mask that
// names no path and one without segments.
TEST_F(MaskSamplesTest, EndsZeroLengthsAndNoPath) {
    const PF_PathID line = host.AddMask(Polygon({{10, 20}, {110, 20}}, false));
    const PF_PathID point = host.AddMask(Polygon({{7, 8}, {7, 8}, {7, 8}}, true));
    const PF_PathID single = host.AddMask(Polygon({{1, 1}}, false));
    SuiteHandler suites(host.inData.pica_basicP);
    {
        MaskSamples lineSamples;
        ASSERT_TRUE(lineSamples.Measure(&host.inData, &suites, line));
        const MaskBasePoints ends = lineSamples.Sample(2, density.ramp(), false);
        ASSERT_EQ(ends.size(), 2u);
        EXPECT_EQ(lineSamples.isOpen, 1);
        EXPECT_EQ(ends(1).key, 1.0);
        EXPECT_NEAR(ends(0).point.x, 10.0, 1e-9);
        EXPECT_NEAR(ends(1).point.x, 110.0, 1e-9);
        MaskSamples pointSamples;
        ASSERT_TRUE(pointSamples.Measure(&host.inData, &suites, point));
        EXPECT_EQ(pointSamples.totalLength, 0.0);
        const MaskBasePoints table = pointSamples.Sample(5, density.ramp(), false);
        for (size_t j = 0; j < 5; ++j) {
            EXPECT_EQ(table(j).point.x, 7.0);
            EXPECT_EQ(table(j).point.y, 8.0);
        }
    }
    const long checkins = host.Calls("PF_CheckinPath");
    {
        MaskSamples none;
        EXPECT_FALSE(none.Measure(&host.inData, &suites, 0));
        EXPECT_FALSE(none.Measure(&host.inData, &suites, 42));
        EXPECT_EQ(quorvel::host::CheckedOutPaths(host.host), 0u);
        MaskSamples empty;
        EXPECT_FALSE(empty.Measure(&host.inData, &suites, single));
        // Given back when the record goes.
        EXPECT_EQ(quorvel::host::CheckedOutPaths(host.host), 1u);
    }
    EXPECT_EQ(host.Calls("PF_CheckinPath"), checkins + 1);
}

TEST(BasePointSpacingTest, SpacingShrinksWhereTheRampIsHigh) {
    RenderTestHost host;
    RampHandle half(host.host, RampInterpolation_Line, {{0.0f, 0.0f}, {1.0f, 1.0f}});
    RampHandle one(host.host, RampInterpolation_Line, {{0.0f, 1.0f}, {1.0f, 1.0f}});
    const auto distribute = [](int n, const RampHandle& ramp, double factor, double offset) {
        return BasePointSpacing(n, ramp.ramp()).Distribute(factor, offset);
    };

    // Factor 0: the plain row, shifted by the offset.
    const std::vector<double> shifted = distribute(11, half, 0.0, 0.1);
    const std::vector<double> plain = distribute(11, half, 0.0, 0.0);
    ASSERT_EQ(shifted.size(), 11u);
    for (int i = 0; i < 11; ++i) {
        EXPECT_NEAR(shifted[i], i / 10.0 - 0.1, 1e-12) << i;
        EXPECT_NEAR(plain[i], i / 10.0, 1e-12) << i;
    }
    // The ramp at 0 and 0.5 shrinks the two steps by 0 and 0.5: 0, 0.5, 0.75, not normalised.
    EXPECT_EQ(distribute(3, half, 1.0, 0.0), (std::vector<double>{0.0, 0.5, 0.75}));
    // Beyond the row, the first and last steps continue.
    EXPECT_EQ(distribute(3, half, 1.0, 0.5), (std::vector<double>{-0.5, 0.0, 0.5}));
    // Full shrink everywhere: every position is 0.
    for (double value : distribute(5, one, 1.0, 0.0)) {
        EXPECT_EQ(value, 0.0);
    }
    // Damaged values never index outside the table.
    for (double offset : {1e300, -1e300, std::nan(""), HUGE_VAL}) {
        EXPECT_EQ(distribute(4, one, std::nan(""), offset).size(), 4u);
    }
    EXPECT_TRUE(distribute(0, half, 1.0, 0.0).empty());
}

}  // namespace
