// From masks to mesh vertices with the host's path suites: masks sampled by arc length, base
// point spacing by a ramp, and the vertices filled between two base point tables.
#include <cmath>
#include <random>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "host/suites/path_suites.h"
#include "ramp/scoped_ramp.h"
#include "render/distribute_base_points.h"
#include "render/mask_samples.h"
#include "render/mesh_fill.h"
#include "render_test_host.h"
#include "shell/toolkit/errors.h"
#include "tests/support/module_host.h"

namespace {

class MaskSamplesTest : public testing::Test {
  protected:
    void TearDown() override { EXPECT_LEDGER_BALANCED(host.host); }

    RenderTestHost host;
    // The even density of the parameters' default curve.
    const ScopedRamp density{RampMode_All, RampInterpolation_Sin, {{0.0f, 0.5f}, {1.0f, 0.5f}}};
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

    for (const bool invert : {false, true}) {
        const MaskBasePoints table = samples.Sample(9, *density, invert);
        ASSERT_EQ(table.size(), 9u);
        // One preparation per segment reached, at most.
        EXPECT_LE(host.Calls("PF_PathPrepareSegLength"), invert ? 4 + 8 : 4 + 4);
        EXPECT_EQ(quorvel::host::LivePreparations(host.host), 0u);
        for (int n = 0; n <= 16; ++n) {
            EXPECT_EQ(table(n / 2).key, n / 2 / 8.0);
            const MaskPoint point = MaskPointAt(table, n / 16.0);
            // The outline's arc length, which runs backwards inverted.
            const double along = 400.0 * (invert ? 1.0 - n / 16.0 : n / 16.0);
            const double side = std::fmod(along, 100.0);
            const double xs[] = {side, 100, 100 - side, 0, 0};
            const double ys[] = {0, side, 100, 100 - side, 0};
            const int s = static_cast<int>(along / 100.0);
            EXPECT_NEAR(point.x, xs[s], 1e-9) << n << " inverted " << invert;
            EXPECT_NEAR(point.y, ys[s], 1e-9) << n << " inverted " << invert;
        }
    }
    EXPECT_EQ(samples.isOpen, 0);
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
        const MaskBasePoints ends = lineSamples.Sample(2, *density, false);
        ASSERT_EQ(ends.size(), 2u);
        EXPECT_EQ(lineSamples.isOpen, 1);
        EXPECT_EQ(ends(1).key, 1.0);
        EXPECT_NEAR(ends(0).point.x, 10.0, 1e-9);
        EXPECT_NEAR(ends(1).point.x, 110.0, 1e-9);
        MaskSamples pointSamples;
        ASSERT_TRUE(pointSamples.Measure(&host.inData, &suites, point));
        EXPECT_EQ(pointSamples.totalLength, 0.0);
        const MaskBasePoints table = pointSamples.Sample(5, *density, false);
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
    const ScopedRamp half(RampMode_All, RampInterpolation_Line, {{0.0f, 0.0f}, {1.0f, 1.0f}});
    const ScopedRamp one(RampMode_All, RampInterpolation_Line, {{0.0f, 1.0f}, {1.0f, 1.0f}});
    const auto distribute = [](int n, const ScopedRamp& ramp, double factor, double offset) {
        return BasePointSpacing(n, *ramp).Distribute(factor, offset);
    };

    // Factor 0: the plain row, shifted by the offset.
    const std::vector<double> shifted = distribute(11, half, 0.0, 0.1);
    ASSERT_EQ(shifted.size(), 11u);
    for (int i : {0, 4, 10}) {
        EXPECT_NEAR(shifted[i], i / 10.0 - 0.1, 1e-12) << i;
    }
    EXPECT_NEAR(distribute(11, half, 0.0, 0.0)[7], 0.7, 1e-12);
    // The ramp at 0 and 0.5 shrinks the two steps by 0 and 0.5: 0, 0.5, 0.75, not normalised.
    EXPECT_EQ(distribute(3, half, 1.0, 0.0), (std::vector<double>{0.0, 0.5, 0.75}));
    // Beyond the row, the first and last steps continue.
    EXPECT_EQ(distribute(3, half, 1.0, 0.5), (std::vector<double>{-0.5, 0.0, 0.5}));
    // Full shrink everywhere: every position is 0.
    EXPECT_EQ(distribute(5, one, 1.0, 0.0), std::vector<double>(5, 0.0));
    // Damaged values never index outside the table.
    for (double offset : {1e300, -1e300, std::nan(""), HUGE_VAL}) {
        EXPECT_EQ(distribute(4, one, std::nan(""), offset).size(), 4u);
    }
    EXPECT_TRUE(distribute(0, half, 1.0, 0.0).empty());
}

// Two straight horizontal masks, 100 apart: mask 1 along y = 10, mask 2 along y = 110, both
// from x = 0 to x = 100, sampled at G even keys.
MaskBasePoints Straight(int count, double y) {
    MaskBasePoints table;
    for (int j = 0; j < count; ++j) {
        const double key = static_cast<double>(j) / (count - 1);
        table[key] = MaskPoint{100.0 * key, y};
    }
    return table;
}

class MeshFillTest : public testing::Test {
  protected:
    std::vector<MeshVertex> Fill() {
        shape = MeshShapeOf(grid);
        const int strips = static_cast<int>(shape.strips);
        std::vector<float> positions(static_cast<size_t>(strips) + 1);
        for (int k = 0; k <= strips; ++k) {
            positions[static_cast<size_t>(k)] = static_cast<float>(k) / strips;
        }
        std::vector<MeshVertex> vertices(static_cast<size_t>(shape.vertexCount) + 1);
        vertices.back().stripIndex = -7.0f;
        FillMeshVertices(grid, shape, frame, {positions, *quorvelRamp, *perpendicular},
                         vertices.data());
        EXPECT_EQ(vertices.back().stripIndex, -7.0f) << "written past the end";
        vertices.pop_back();
        return vertices;
    }

    const MeshVertex& At(const std::vector<MeshVertex>& vertices, int64_t k, int64_t i, int64_t j) {
        return vertices[static_cast<size_t>((k * shape.rowsPerStrip + i) * shape.inner + j)];
    }

    ScopedRamp quorvelRamp{RampMode_All, RampInterpolation_Line, {{0.0f, 1.0f}, {1.0f, 1.0f}}};
    ScopedRamp perpendicular{RampMode_All, RampInterpolation_Line, {{0.0f, 1.0f}, {1.0f, 1.0f}}};
    MaskBasePoints mask1 = Straight(11, 10.0);
    MaskBasePoints mask2 = Straight(11, 110.0);
    MeshGrid grid{&mask1, &mask2, 2, 11, 5, 0, 0, 100};
    MeshShape shape{};
    // A frame of 200 x 100 pixels in a host frame of 400 x 200.
    MeshFrame frame{0, 0, 200, 100, 400, 200, 0, 0, 0, 0, 0, 0};
};

TEST_F(MeshFillTest, AlongTheMasksTheBandMapsOntoItself) {
    frame.originX = 4.0f;
    frame.originY = 2.0f;
    frame.windowEnd = 0.25;  // "Loop Mesh Part" 25 at phase 0
    const std::vector<MeshVertex> vertices = Fill();
    ASSERT_EQ(vertices.size(), 5u * 11u);
    for (const auto& [i, j] : {std::pair<int, int>{0, 0}, {1, 3}, {4, 7}}) {
        const MeshVertex& v = At(vertices, 0, i, j);
        const double x = 10.0 * j;
        const double y = 10.0 + 25.0 * i;
        EXPECT_FLOAT_EQ(v.position[0], static_cast<float>(x) - 4.0f);
        EXPECT_FLOAT_EQ(v.position[1], static_cast<float>(y) - 2.0f);
        EXPECT_EQ(v.normal[0], 1.0f);
        EXPECT_EQ(v.normal[1], 0.0f);
        EXPECT_EQ(v.meshUVs[0], i / 4.0f);
        EXPECT_FLOAT_EQ(v.meshUVs[1], j / 10.0f);
        EXPECT_FLOAT_EQ(v.outputUV[0], static_cast<float>((x - 4.0) / 200.0));
        EXPECT_FLOAT_EQ(v.outputUV[1], static_cast<float>((y - 2.0) / 100.0));
        // Screen-space noise runs over the host's frame, five units across it.
        EXPECT_FLOAT_EQ(v.screenNoiseUV[0], v.position[0] * 5 / 400.0f);
        EXPECT_FLOAT_EQ(v.screenNoiseUV[1], v.position[1] * 5 / 200.0f);
        // Factor 0, offset 0, g = 1: the window runs from t to t + L.
        EXPECT_NEAR(v.uvs1[0], (x - 4.0) / 200.0, 1e-6);
        EXPECT_NEAR(v.uvs1[1], (y - 2.0) / 100.0, 1e-6);
        EXPECT_NEAR(v.uvs2[0], (x + 25.0 - 4.0) / 200.0, 1e-6);
        EXPECT_NEAR(v.uvs2[1], (y - 2.0) / 100.0, 1e-6);
        EXPECT_EQ(v.stripIndex, 0.0f);
    }
    // Beyond the masks' end the window's texture point is extrapolated along the mask.
    EXPECT_NEAR(At(vertices, 0, 0, 10).uvs2[0], (125.0 - 4.0) / 200.0, 1e-6);

    // "Quorvel Perpendicular Ramp" rising from 0 to 1, read at each row's u, mixes the window
    // in by u.
    (*perpendicular->points)[0.0f] = 0.0f;
    const std::vector<MeshVertex> mixed = Fill();
    for (int i = 0; i < 5; ++i) {
        EXPECT_NEAR(At(mixed, 0, i, 4).uvs2[0], (100.0 * (0.4 + 0.25 * i / 4.0) - 4.0) / 200.0,
                    1e-6)
            << i;
    }
}

TEST_F(MeshFillTest, ReversalMirrorsGeometryAndWindowButNotMeshUVs) {
    grid.quorvelReverseDirection = 1;
    frame.windowEnd = 0.5;
    const std::vector<MeshVertex> vertices = Fill();
    for (int j = 0; j < 11; ++j) {
        const MeshVertex& v = At(vertices, 0, 2, j);
        const float t = j / 10.0f;
        EXPECT_NEAR(v.position[0], 100.0 * (1.0 - t), 1e-4);
        EXPECT_FLOAT_EQ(v.meshUVs[1], t);
        // Toward increasing column, which now runs backwards along the masks.
        EXPECT_EQ(v.normal[0], -1.0f);
        EXPECT_EQ(v.normal[1], 0.0f);
        EXPECT_NEAR(v.uvs2[0], 100.0 * (1.0 - (t + 0.5)) / 200.0, 1e-6);
    }
}

TEST_F(MeshFillTest, AcrossTheMasksTheBlendIsClampedAndNormalsCrossTheBand) {
    grid.quorvelDirection = 1;  // rows along the masks, columns across the band
    frame.offset = -0.5;        // the mesh parameter moves, the texture points stay
    const std::vector<MeshVertex> vertices = Fill();
    ASSERT_EQ(shape.inner, 5);
    for (int j = 0; j < 5; ++j) {
        const MeshVertex& v = At(vertices, 0, 3, j);
        EXPECT_NEAR(v.position[0], 30.0, 1e-4);
        EXPECT_NEAR(v.position[1], 10.0 + 25.0 * j, 1e-4);
        EXPECT_EQ(v.normal[0], 0.0f);
        EXPECT_EQ(v.normal[1], 1.0f);
        // The offset moves the mesh parameter back and the shaped one forward by as much:
        // the texture points stay where they are.
        EXPECT_FLOAT_EQ(v.meshUVs[1], j / 4.0f + 0.5f);
        EXPECT_NEAR(v.uvs1[1], (10.0 + 25.0 * j) / 100.0, 1e-6);
    }
    // Beyond the band's side the texture points stay on the masks.
    frame.offset = 0.0;
    frame.windowStart = 0.5;
    const std::vector<MeshVertex> shifted = Fill();
    for (int j = 0; j < 5; ++j) {
        EXPECT_NEAR(At(shifted, 0, 3, j).uvs1[1], j < 2 ? (60.0 + 25.0 * j) / 100.0 : 1.1, 1e-6);
    }

    // Coincident neighbours give the default normal.
    mask1 = Straight(11, 50.0);
    mask2 = Straight(11, 50.0);
    for (const MeshVertex& v : Fill()) {
        EXPECT_EQ(v.normal[0], 1.0f);
        EXPECT_EQ(v.normal[1], 0.0f);
    }
}

TEST_F(MeshFillTest, StripsDrawOneWeightPerStripFromTheMersenneTwister) {
    grid.stripsEnable = 1;
    grid.stripsCount = 3;
    grid.acrossBasePoints = 9;  // 3 rows per strip
    frame.quorvelFactor = 100.0;
    frame.randomFactor = 0.8f;
    frame.randomSeed = 12345;
    const std::vector<MeshVertex> vertices = Fill();
    ASSERT_EQ(shape.strips, 3);
    ASSERT_EQ(shape.rowsPerStrip, 3);
    std::mt19937 engine(12345);
    for (int k = 0; k < 3; ++k) {
        const float r = 0.8f * (static_cast<float>(engine()) * 2.3283064365386963e-10f);
        const double w = 1.0f - r;
        // With the ramp at 1, each step shrinks by w: the last column's texture point is at
        // 1 - w along the masks.
        const MeshVertex& last = At(vertices, k, 1, 10);
        EXPECT_NEAR(last.uvs1[0], 100.0 * (1.0 - w) / 200.0, 1e-6) << k;
        // The strip's rows span its extent; neighbouring strips share a row parameter.
        EXPECT_FLOAT_EQ(At(vertices, k, 0, 0).meshUVs[0], k / 3.0f);
        EXPECT_FLOAT_EQ(At(vertices, k, 2, 0).meshUVs[0], (k + 1) / 3.0f);
        EXPECT_EQ(At(vertices, k, 2, 5).stripIndex, static_cast<float>(k));
    }
    // Random factor 0: every weight is 1, the whole shrink applies.
    frame.randomFactor = 0.0f;
    std::vector<MeshVertex> even = Fill();
    for (int k = 0; k < 3; ++k) {
        EXPECT_NEAR(At(even, k, 1, 10).uvs1[0], 0.0, 1e-6);
    }
    // Too few strip positions are an error, not a read past their end.
    const std::vector<float> shortList = {0.0f, 0.5f};
    EXPECT_THROW(FillMeshVertices(grid, shape, frame, {shortList, *quorvelRamp, *perpendicular},
                                  even.data()),
                 std::out_of_range);
}

}  // namespace
