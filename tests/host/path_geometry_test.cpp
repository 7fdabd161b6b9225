#include <cmath>
#include <utility>

#include <gtest/gtest.h>

#include "host/mask_path.h"
#include "host/segment_length_table.h"

namespace {

using quorvel::host::BezierSegment;
using quorvel::host::MaskKeyframe;
using quorvel::host::MaskPath;
using quorvel::host::MaskShape;
using quorvel::host::MaskVertex;
using quorvel::host::PathPoint;
using quorvel::host::SegmentLengthTable;

// The length of a segment by a dense polyline, as an independent reference.
double PolylineLength(const BezierSegment& segment, double t0, double t1) {
    const int steps = 200000;
    double length = 0.0;
    PathPoint previous = segment.PointAt(t0);
    for (int i = 1; i <= steps; ++i) {
        const PathPoint next = segment.PointAt(t0 + (t1 - t0) * i / steps);
        length += std::hypot(next.x - previous.x, next.y - previous.y);
        previous = next;
    }
    return length;
}

const BezierSegment kArch{
    {PathPoint{0, 0}, PathPoint{30, 120}, PathPoint{170, 140}, PathPoint{200, 10}}};
// Zero tangent at the start and a sharp turn: the speed vanishes at t = 0.
const BezierSegment kCusp{
    {PathPoint{0, 0}, PathPoint{0, 0}, PathPoint{100, 100}, PathPoint{0, 100}}};

TEST(BezierSegmentTest, ArcLengthsMatchAnIndependentReference) {
    // A straight segment with evenly spaced control points moves at constant speed.
    const BezierSegment line{
        {PathPoint{0, 0}, PathPoint{10, 10}, PathPoint{20, 20}, PathPoint{30, 30}}};
    EXPECT_NEAR(line.LengthBetween(0, 1), std::sqrt(1800.0), 1e-12);
    EXPECT_NEAR(line.LengthBetween(0.25, 0.5), 0.25 * std::sqrt(1800.0), 1e-12);
    for (const BezierSegment& segment : {kArch, kCusp}) {
        EXPECT_NEAR(segment.LengthBetween(0, 1), PolylineLength(segment, 0, 1), 1e-6);
        EXPECT_NEAR(segment.LengthBetween(0.1, 0.7), PolylineLength(segment, 0.1, 0.7), 1e-6);
    }
    EXPECT_EQ(kArch.LengthBetween(0.5, 0.5), 0.0);
    EXPECT_EQ(kArch.LengthBetween(0.7, 0.2), 0.0);
}

TEST(SegmentLengthTableTest, PointsAtLengthAreAccurateAtEveryDensityAndStayOnTheSegment) {
    for (const BezierSegment& segment : {kArch, kCusp}) {
        const SegmentLengthTable coarse(segment, 1);
        const SegmentLengthTable dense(segment, 1000);
        EXPECT_EQ(coarse.Intervals(), 1);
        EXPECT_EQ(dense.Intervals(), 1000);
        EXPECT_NEAR(coarse.Length(), dense.Length(), 1e-7);
        for (int i = 0; i <= 20; ++i) {
            const double length = dense.Length() * i / 20.0;
            const double t = dense.ParameterAtLength(length);
            EXPECT_NEAR(segment.LengthBetween(0, t), length, 1e-8);
            const PathPoint a = coarse.PointAtLength(length);
            const PathPoint b = dense.PointAtLength(length);
            EXPECT_NEAR(a.x, b.x, 1e-6);
            EXPECT_NEAR(a.y, b.y, 1e-6);
        }
    }
    // Lengths outside the segment give its ends.
    const SegmentLengthTable table(kArch, 100);
    for (const auto& [length, t] : {std::pair<double, double>{-5.0, 0.0},
                                    {std::nan(""), 0.0},
                                    {table.Length() + 1.0, 1.0},
                                    {HUGE_VAL, 1.0}}) {
        EXPECT_EQ(table.ParameterAtLength(length), t) << length;
    }
    // Densities are kept within bounds.
    EXPECT_EQ(SegmentLengthTable(kArch, -7).Intervals(), 1);
    EXPECT_EQ(SegmentLengthTable(kArch, 2147483647).Intervals(), SegmentLengthTable::kMaxIntervals);
    // A segment of no length gives its start.
    const BezierSegment point{{PathPoint{5, 6}, PathPoint{5, 6}, PathPoint{5, 6}, PathPoint{5, 6}}};
    EXPECT_EQ(SegmentLengthTable(point, 10).PointAtLength(3.0).x, 5.0);
}

TEST(SegmentLengthTableTest, HugeButFiniteControlPointsStayBounded) {
    // A tangent whose square overflows and vertices far beyond any frame have finite
    // lengths; control points whose differences overflow have none, but still finite points.
    struct Case {
        BezierSegment segment;
        bool finiteLength;
    };
    const Case cases[] = {
        {{{PathPoint{0, 0}, PathPoint{0, 1e154}, PathPoint{100, 0}, PathPoint{100, 0}}}, true},
        {{{PathPoint{-1e300, 0}, PathPoint{0, 1e300}, PathPoint{0, -1e300}, PathPoint{1e300, 0}}},
         true},
        {{{PathPoint{-1.7e308, 0}, PathPoint{1.7e308, 0}, PathPoint{0, 0}, PathPoint{0, 0}}},
         false},
    };
    for (const Case& c : cases) {
        const SegmentLengthTable table(c.segment, 100);
        EXPECT_EQ(std::isfinite(table.Length()), c.finiteLength);
        const PathPoint middle = table.PointAtLength(0.5 * table.Length());
        EXPECT_TRUE(std::isfinite(middle.x) && std::isfinite(middle.y));
    }
}

MaskShape Triangle(double offset, bool closed) {
    MaskShape shape;
    shape.closed = closed;
    shape.vertices = {MaskVertex{{offset, 0}, {0, 0}, {10, 0}},
                      MaskVertex{{offset + 100, 0}, {-5, -5}, {0, 10}},
                      MaskVertex{{offset + 100, 100}, {0, -10}, {0, 0}}};
    return shape;
}

TEST(MaskPathTest, KeyframesHoldOutsideAndShapesOfOtherVertexCountsDoNotBlend) {
    MaskPath path;
    EXPECT_TRUE(path.ShapeAt(0.0).vertices.empty());
    path.keyframes = {MaskKeyframe{1.0, Triangle(0, true)}, MaskKeyframe{3.0, Triangle(40, true)}};
    EXPECT_EQ(path.ShapeAt(-1.0).vertices[0].position.x, 0.0);
    EXPECT_EQ(path.ShapeAt(5.0).vertices[0].position.x, 40.0);
    // How vertices and tangents blend between the keys, the path suites' square at its
    // checkout time and the animation example show.
    // Shapes of different vertex counts do not blend: the earlier one holds.
    MaskShape square = Triangle(40, true);
    square.vertices.push_back(MaskVertex{{0, 100}, {0, 0}, {0, 0}});
    path.keyframes[1].shape = square;
    EXPECT_EQ(path.ShapeAt(2.9).vertices.size(), 3u);
    EXPECT_EQ(path.ShapeAt(3.0).vertices.size(), 4u);
}

}  // namespace
