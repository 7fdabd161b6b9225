#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "ramp/ramp_lookup.h"
#include "ramp/scoped_ramp.h"

namespace {

// Bit for bit, so that values that are not numbers compare too.
void ExpectSameAsEvaluate(const Ramp& ramp, int count) {
    std::vector<float> values(size_t(count) + 1, -7.0f);
    FillRampLookup(ramp, values.data(), count);
    for (int i = 0; i < count; ++i) {
        const float expected = ramp.Evaluate(count > 1 ? float(i) / float(count - 1) : 0.0f);
        ASSERT_EQ(0, std::memcmp(&values[size_t(i)], &expected, sizeof expected))
            << "sample " << i << " of " << count << ": " << values[size_t(i)] << " vs " << expected;
    }
    EXPECT_EQ(values[size_t(count)], -7.0f) << "written past the end";
}

TEST(RampLookupTest, GivesWhatEvaluateGivesForEverySample) {
    std::mt19937 random(4104);
    for (int trial = 0; trial < 400; ++trial) {
        ScopedRamp ramp(RampMode_All, int32_t(random() % 5));
        const int keys = int(random() % 40);
        for (int i = 0; i < keys; ++i) {
            // Keys mostly inside [0, 1], some outside; some values out of range.
            const float t = float(int(random() % 2400) - 200) / 2000.0f;
            (*ramp->points)[t] = float(int(random() % 1400) - 200) / 1000.0f;
        }
        ExpectSameAsEvaluate(*ramp, 2048);
    }
    const float inf = std::numeric_limits<float>::infinity();
    const ScopedRamp extreme(
        RampMode_All, RampInterpolation_Bezier,
        {{-inf, 0.5f}, {0.0f, 2.0f}, {0.3f, inf}, {0.30001f, 0.0f}, {0.7f, -1.0f}, {inf, 0.2f}});
    const ScopedRamp dense(RampMode_All, RampInterpolation_Bezier,
                           {{0.5f, 0.0f}, {0.50001f, 1.0f}, {0.50002f, 0.0f}, {0.50003f, 1.0f}});
    for (int count : {0, 1, 2, 3, 2048}) {
        ExpectSameAsEvaluate(*extreme, count);
        ExpectSameAsEvaluate(*dense, count);
    }
}

}  // namespace
