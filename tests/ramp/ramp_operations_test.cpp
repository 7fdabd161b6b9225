#include <limits>

#include <gtest/gtest.h>

#include "ramp/ramp_operations.h"
#include "ramp/scoped_ramp.h"

namespace {

TEST(RampOperationsTest, InterpolatePairsPointsInOrder) {
    const ScopedRamp left(RampMode_WithoutSin, RampInterpolation_Line,
                          {{0.0f, 0.0f}, {1.0f, 1.0f}});
    const ScopedRamp right(RampMode_All, RampInterpolation_Step,
                           {{0.0f, 1.0f}, {0.5f, 0.0f}, {1.0f, 1.0f}});
    ScopedRamp result(-1, -1, {{0.3f, 0.3f}});
    // The third right point pairs with the left's last point.
    InterpolateRamps(*left, *right, 0.5, &*result);
    EXPECT_EQ(result->mode, RampMode_WithoutSin);
    EXPECT_EQ(result->interpolation, RampInterpolation_Line);
    EXPECT_EQ(*result->points, (RampPoints{{0.0f, 0.5f}, {0.75f, 0.5f}, {1.0f, 1.0f}}));

    // At 0 the left points, at 1 the right points with the left's mode and interpolation.
    InterpolateRamps(*right, *left, 0.0, &*result);
    EXPECT_EQ(*result->points, *right->points);
    InterpolateRamps(*left, *right, 1.0, &*result);
    EXPECT_EQ(*result->points, *right->points);
    EXPECT_EQ(result->interpolation, RampInterpolation_Line);

    // An empty side counts as the value 1.0 at the other side's keys.
    const ScopedRamp empty(RampMode_All, RampInterpolation_Sin);
    const ScopedRamp zero(RampMode_All, RampInterpolation_Sin, {{0.0f, 0.0f}, {1.0f, 0.0f}});
    InterpolateRamps(*empty, *zero, 0.25, &*result);
    EXPECT_EQ(*result->points, (RampPoints{{0.0f, 0.75f}, {1.0f, 0.75f}}));
    InterpolateRamps(*empty, *zero, 0.0, &*result);
    EXPECT_EQ(*result->points, (RampPoints{{0.0f, 1.0f}, {1.0f, 1.0f}}));
    InterpolateRamps(*zero, *empty, 0.25, &*result);
    EXPECT_EQ(*result->points, (RampPoints{{0.0f, 0.25f}, {1.0f, 0.25f}}));
    InterpolateRamps(*empty, *empty, 0.5, &*result);
    EXPECT_TRUE(result->points->empty());

    // Blended keys that meet keep the later value, so the result can have fewer points.
    const ScopedRamp single(RampMode_All, RampInterpolation_Line, {{0.5f, 0.0f}});
    const ScopedRamp close(RampMode_All, RampInterpolation_Line, {{0.0f, 1.0f}, {0.001f, 0.0f}});
    InterpolateRamps(*single, *close, 1e-9, &*result);
    EXPECT_EQ(*result->points, (RampPoints{{0.5f, 0.0f}}));
}

TEST(RampOperationsTest, InterpolateNeverStoresAKeyThatIsNotFinite) {
    const float inf = std::numeric_limits<float>::infinity();
    const ScopedRamp left(RampMode_All, RampInterpolation_Line, {{-inf, 0.0f}, {0.5f, 1.0f}});
    const ScopedRamp right(RampMode_All, RampInterpolation_Line, {{inf, 1.0f}, {1.0f, 0.0f}});
    ScopedRamp result(RampMode_All, RampInterpolation_Sin);
    // -inf blended with the right's first key (1.0) stays -inf; 0.5 with inf gives inf; at 1
    // the left's infinite key times 0 is not a number; nor is any key at a fraction that is not
    // a number. None of them is stored.
    InterpolateRamps(*left, *right, 0.5, &*result);
    EXPECT_TRUE(result->points->empty());
    InterpolateRamps(*right, *left, 1.0, &*result);
    EXPECT_TRUE(result->points->empty());
    InterpolateRamps(*left, *right, std::numeric_limits<double>::quiet_NaN(), &*result);
    EXPECT_TRUE(result->points->empty());
}

TEST(RampOperationsTest, CompareAndCopy) {
    const ScopedRamp a(RampMode_All, RampInterpolation_Line, {{0.0f, 0.5f}, {1.0f, 0.25f}});
    ScopedRamp b(RampMode_All, RampInterpolation_Line, {{0.0f, 0.50005f}, {1.0f, 0.25f}});
    EXPECT_TRUE(RampsEqual(*a, *b));
    (*b->points)[0.0f] = 0.501f;
    EXPECT_FALSE(RampsEqual(*a, *b));
    CopyRamp(*a, &*b);
    EXPECT_TRUE(RampsEqual(*a, *b));
    EXPECT_NE(a->points, b->points);
    b->interpolation = RampInterpolation_Step;
    EXPECT_FALSE(RampsEqual(*a, *b));
    b->interpolation = RampInterpolation_Line;
    b->mode = RampMode_WithoutSin;
    EXPECT_FALSE(RampsEqual(*a, *b));

    // Same count, one key moved; one point more; values that are not numbers.
    const ScopedRamp moved(RampMode_All, RampInterpolation_Line, {{0.0f, 0.5f}, {0.9f, 0.25f}});
    EXPECT_FALSE(RampsEqual(*a, *moved));
    const ScopedRamp more(RampMode_All, RampInterpolation_Line,
                          {{0.0f, 0.5f}, {0.5f, 0.5f}, {1.0f, 0.25f}});
    EXPECT_FALSE(RampsEqual(*a, *more));
    EXPECT_FALSE(RampsEqual(*more, *a));
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const ScopedRamp notANumber(RampMode_All, RampInterpolation_Line, {{0.0f, nan}});
    EXPECT_FALSE(RampsEqual(*notANumber, *notANumber));

    const ScopedRamp empty1(RampMode_WithoutSin, RampInterpolation_Step);
    ScopedRamp empty2(RampMode_WithoutSin, RampInterpolation_Step);
    EXPECT_TRUE(RampsEqual(*empty1, *empty2));

    // Copying a ramp onto itself keeps its points.
    CopyRamp(*b, &*b);
    EXPECT_EQ(b->points->size(), 2u);
    CopyRamp(*empty1, &*b);
    EXPECT_TRUE(RampsEqual(*empty1, *b));
}

}  // namespace
