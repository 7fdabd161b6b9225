// A curve's values, its positions spread by area and its lookup table, on ramps of every
// interpolation, including keys and values far outside [0, 1]. Then the ramp values through
// the module's entry point, as the host manages them: only through PF_Cmd_ARBITRARY_CALLBACK,
// every value made given back once, every lock undone. Values come in as the host holds them
// (saved flat records, text) and are read as the module prints them.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <deque>
#include <limits>
#include <random>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "fuzz/curve_promises.h"
#include "host/arbitrary_values.h"
#include "ramp/ramp_lookup.h"
#include "tests/support/module_params.h"

namespace quorvel::testing {
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
    // clang-format off
    ramps.emplace_back(RampMode_All, 3, Keys{{-kInf, 0.5f}, {0.0f, 2.0f}, {0.3f, kInf},
                                             {0.30001f, 0.0f}, {0.7f, -1.0f}, {kInf, 0.2f}});
    // clang-format on
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

// The refcon the effect gives its ramp parameters: 'RAMP' shifted left by 24 bits.
void* const kRampRefcon = reinterpret_cast<void*>(uintptr_t(0x0052414D50000000ULL));
constexpr char kDefaultText[] = "Ramp all  sin  t 0 v 1 t 1 v 1";
constexpr PF_Err kDamaged = PF_Err_INTERNAL_STRUCT_DAMAGED;
constexpr PF_Err kRefused = PF_Err_UNRECOGNIZED_PARAM_TYPE;
const float kSignalling = std::numeric_limits<float>::signaling_NaN();

using Bytes = std::vector<uint8_t>;
using Result = std::pair<PF_Err, std::string>;

// A saved record whose header claims count points, whatever follows it.
Bytes Claiming(int32_t count, Bytes bytes) {
    std::memcpy(&bytes[8], &count, 4);
    return bytes;
}

class RampModuleTest : public ModuleTest {
  protected:
    void TearDown() override { DisposeAll(); }

    // Every value the module handed out is given back exactly once; the ledger shows every
    // handle not disposed, every lock not undone and a second dispose of one handle.
    void DisposeAll() {
        host.faults().Clear();
        for (PF_ArbitraryH handle : made) {
            EXPECT_EQ(ramps.Dispose(handle), PF_Err_NONE);
        }
        made.clear();
        EXPECT_LEDGER_BALANCED(host);
        EXPECT_EQ(host.handles().LiveCount(), 0u);
    }
    PF_ArbitraryH Keep(const host::ArbitraryValue& value) {
        if (value.handle != nullptr) {
            made.push_back(value.handle);
        }
        return value.handle;
    }
    std::string Text(PF_ArbitraryH handle) {
        std::string text;
        EXPECT_EQ(ramps.Print(handle, &text), PF_Err_NONE);
        return text;
    }
    // The code of a request that makes a value, and the value as printed.
    Result Made(const host::ArbitraryValue& value) { return {value.err, Text(Keep(value))}; }
    PF_ArbitraryH Scanned(const char* text) { return Keep(ramps.Scan(text)); }

    host::ArbitraryValues ramps{effect(), kRampRefcon};
    std::vector<PF_ArbitraryH> made;
};

TEST_F(RampModuleTest, NewCopyCompareAndInterpolate) {
    const PF_ArbitraryH fresh = Keep(ramps.New());
    EXPECT_EQ(Text(fresh), kDefaultText);
    Bytes flat;
    EXPECT_EQ(ramps.Flatten(fresh, &flat), PF_Err_NONE);
    // Mode 0, interpolation 0, count 2, then t 0, v 1, t 1, v 1, little-endian.
    EXPECT_EQ(flat, Bytes({0, 0, 0,    0,    0, 0, 0,    0,   2,    0,
                           0, 0, 0,    0,    0, 0, 0,    0,   0x80, 0x3F,  //
                           0, 0, 0x80, 0x3F, 0, 0, 0x80, 0x3F}));
    // A copy of no value is a new default one.
    const char* const line = "Ramp withoutSin  line  t 0 v 0 t 1 v 1";
    EXPECT_EQ(Made(ramps.Copy(Scanned(line))), Result(PF_Err_NONE, line));
    EXPECT_EQ(Made(ramps.Copy(nullptr)), Result(PF_Err_NONE, kDefaultText));

    // Equal: same mode, interpolation and keys, values within 0.0001; a value that is not a
    // number equals nothing, not even itself.
    const char* const base = "Ramp all  line  t 0 v 0.5 t 1 v 0.25";
    const std::tuple<const char*, const char*, PF_ArbCompareResult> comparisons[] = {
        {base, "Ramp all  line  t 0 v 0.50005 t 1 v 0.25", PF_ArbCompare_EQUAL},
        {base, "Ramp all  line  t 0 v 0.501 t 1 v 0.25", PF_ArbCompare_NOT_EQUAL},
        {base, "Ramp all  step  t 0 v 0.5 t 1 v 0.25", PF_ArbCompare_NOT_EQUAL},
        {base, "Ramp withoutSin  line  t 0 v 0.5 t 1 v 0.25", PF_ArbCompare_NOT_EQUAL},
        {base, "Ramp all  line  t 0 v 0.5 t 0.9 v 0.25", PF_ArbCompare_NOT_EQUAL},
        {base, "Ramp all  line  t 0 v 0.5 t 0.5 v 0.5 t 1 v 0.25", PF_ArbCompare_NOT_EQUAL},
        {"Ramp withoutSin  step ", "Ramp withoutSin  step ", PF_ArbCompare_EQUAL},
        {"Ramp all  line  t 0 v nan", nullptr, PF_ArbCompare_NOT_EQUAL},  // with itself
    };
    for (const auto& [a, b, expected] : comparisons) {
        PF_ArbCompareResult compared = -1;
        const PF_ArbitraryH first = Scanned(a);
        EXPECT_EQ(ramps.Compare(first, b == nullptr ? first : Scanned(b), &compared), PF_Err_NONE);
        EXPECT_EQ(compared, expected) << a;
    }

    // Between two keyframes: the left's mode and interpolation, the i-th points blended, the
    // side with fewer points repeating its last; an empty side counts as the value 1.0. Blended
    // keys that meet keep the later value; keys that are not finite are left out.
    const char* const step = "Ramp all  step  t 0 v 1 t 0.5 v 0 t 1 v 1";
    const char* const empty = "Ramp all  sin ";
    const char* const zero = "Ramp all  sin  t 0 v 0 t 1 v 0";
    const char* const huge = "Ramp all  line  t 3e+38 v 1";
    const std::tuple<const char*, const char*, double, const char*> blends[] = {
        {line, step, 0.5, "Ramp withoutSin  line  t 0 v 0.5 t 0.75 v 0.5 t 1 v 1"},
        {step, line, 0.0, step},
        {line, step, 1.0, "Ramp withoutSin  line  t 0 v 1 t 0.5 v 0 t 1 v 1"},
        {empty, zero, 0.25, "Ramp all  sin  t 0 v 0.75 t 1 v 0.75"},
        {empty, zero, 0.0, "Ramp all  sin  t 0 v 1 t 1 v 1"},
        {zero, empty, 0.25, "Ramp all  sin  t 0 v 0.25 t 1 v 0.25"},
        {empty, empty, 0.5, empty},
        {"Ramp all  line  t 0.5 v 0", "Ramp all  line  t 0 v 1 t 0.001 v 0", 1e-9,
         "Ramp all  line  t 0.5 v 0"},
        {line, step, std::numeric_limits<double>::quiet_NaN(), "Ramp withoutSin  line "},
        {huge, huge, -1.0, "Ramp all  line "},
    };
    for (const auto& [left, right, fraction, expected] : blends) {
        EXPECT_EQ(Made(ramps.Interpolate(Scanned(left), Scanned(right), fraction)),
                  Result(PF_Err_NONE, expected))
            << left << " to " << right << " at " << fraction;
    }
}

// Saved records as a project hands them back: whole fields inside the host's count are read,
// points in any order, keys that are not finite left out; the value made comes back with the
// code.
TEST_F(RampModuleTest, SavedRecordsComeBackAsTheyWereSaved) {
    const Bytes full = Flat(1, 3, {{0.25f, 0.5f}, {0.75f, 0.125f}}).flatRamp;
    const auto cut = [&](size_t size) { return Bytes(full.begin(), full.begin() + long(size)); };
    const char* const header = "Ramp withoutSin  bezier ";
    const char* const first = "Ramp withoutSin  bezier  t 0.25 v 0.5";
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const std::tuple<Bytes, PF_Err, const char*> records[] = {
        {cut(3), kDamaged, kDefaultText},
        {cut(4), kDamaged, "Ramp withoutSin  sin  t 0 v 1 t 1 v 1"},
        {cut(8), kDamaged, "Ramp withoutSin  bezier  t 0 v 1 t 1 v 1"},
        {cut(12), kDamaged, header},
        {cut(20), kDamaged, first},
        {full, PF_Err_NONE, "Ramp withoutSin  bezier  t 0.25 v 0.5 t 0.75 v 0.125"},
        {Claiming(2147483647, cut(20)), kDamaged, first},
        {Claiming(0, full), PF_Err_NONE, header},
        {Claiming(-2147483647 - 1, full), PF_Err_NONE, header},
        {Flat(0, 1, {{0.75f, 0.1f}, {0.25f, 0.2f}, {0.75f, 0.3f}}).flatRamp, PF_Err_NONE,
         "Ramp all  line  t 0.25 v 0.2 t 0.75 v 0.3"},
        // clang-format off
        {Flat(0, 1, {{nan, 0.5f}, {0.0f, 0.25f}, {-nan, 0.75f}, {kSignalling, 0.5f}, {kInf, 0.5f},
                     {-kInf, 0.5f}, {1.0f, 1.0f}}).flatRamp, PF_Err_NONE,
         "Ramp all  line  t 0 v 0.25 t 1 v 1"},
        // clang-format on
        // Values without a word print none; numbers print as a text stream writes them.
        {Flat(2, 0, {{0.0f, 1.0f}}).flatRamp, PF_Err_NONE, "Ramp sin  t 0 v 1"},
        {Flat(1, 4, {{0.5f, 0.25f}}).flatRamp, PF_Err_NONE, "Ramp withoutSin  t 0.5 v 0.25"},
        {Flat(-1, -1, {}).flatRamp, PF_Err_NONE, "Ramp"},
        {Flat(0, 1, {{0.1f, 0.33f}, {0.00001f, -0.25f}, {123456789.0f, 2.5e-7f}}).flatRamp,
         PF_Err_NONE, "Ramp all  line  t 1e-05 v -0.25 t 0.1 v 0.33 t 1.23457e+08 v 2.5e-07"},
        {Flat(0, 2, {{-kMax, kMax}, {kMax, -kInf}}).flatRamp, PF_Err_NONE,
         "Ramp all  step  t -3.40282e+38 v 3.40282e+38 t 3.40282e+38 v -inf"},
    };
    for (const auto& [bytes, err, text] : records) {
        EXPECT_EQ(Made(ramps.Unflatten(bytes)), Result(err, text)) << bytes.size();
    }
    // Every bit pattern but a key that is not finite saves again byte for byte: a NaN value
    // with a payload of its own, -0, infinities and words without a meaning.
    float payload;
    std::memcpy(&payload, "\x34\x12\xC0\x7F", 4);
    const Bytes odd =
        Flat(-7, 0x7FFFFFFF, {{-kMax, -0.0f}, {-0.0f, kInf}, {0.5f, payload}, {kMax, 3e38f}})
            .flatRamp;
    Bytes saved;
    EXPECT_EQ(ramps.Flatten(Keep(ramps.Unflatten(odd)), &saved), PF_Err_NONE);
    EXPECT_EQ(saved, odd);
}

// Text taken: a word left out keeps the new value's own, a NUL inside the count ends the text,
// white space of every kind separates words, keys end up sorted and a repeated key keeps the
// later value. Text not taken leaves the new value as NEW made it.
TEST_F(RampModuleTest, TextScansToTheValueItPrints) {
    const std::pair<std::string, const char*> taken[] = {
        {"Ramp all  step  t -1 v nan t 0 v inf t 2 v -nan",
         "Ramp all  step  t -1 v nan t 0 v inf t 2 v -nan"},
        {"Ramp withoutSin  bezier ", "Ramp withoutSin  bezier "},
        {"Ramp sin  t 0 v 1", "Ramp all  sin  t 0 v 1"},
        {"Ramp withoutSin  t 0 v 1", "Ramp withoutSin  sin  t 0 v 1"},
        {"Ramp", "Ramp all  sin "},
        {std::string("Ramp\tall\n\nstep\r\n t 0 v 0.5 ") + '\0' + "garbage",
         "Ramp all  step  t 0 v 0.5"},
        {"Ramp all line t 0.5 v 1 t 0.25 v 0 t 0.5 v 0.75",
         "Ramp all  line  t 0.25 v 0 t 0.5 v 0.75"},
        {std::string(kDefaultText) + '\0', kDefaultText},
    };
    for (const auto& [text, printed] : taken) {
        EXPECT_EQ(Made(ramps.Scan(text)), Result(PF_Err_NONE, printed)) << text;
    }
    // clang-format off
    for (const char* refused : {"", "ramp all  sin ", "Ramp cubic t 0 v 1",
             "Ramp withoutSin  bezier  t 0 v", "Ramp withoutSin  bezier  t 0 1",
             "Ramp withoutSin  bezier  v 1 t 0", "Ramp withoutSin  bezier  t 0 v 1 extra",
             "Ramp all  line  t nan v 1", "Ramp all  line  t 0 v 1 t -inf v 1",
             "Ramp all  line  t 0 v 1e39", "Ramp all  line  t +1 v 1",
             "Ramp all  line  t 0.5.5 v 1", "Ramp sin all t 0 v 1"}) {
        // clang-format on
        EXPECT_EQ(Made(ramps.Scan(refused)), Result(kRefused, kDefaultText)) << refused;
    }
}

TEST_F(RampModuleTest, RefusedRequestsReturnTheirCodeWithoutMessage) {
    const PF_ArbitraryH value = Keep(ramps.New());
    const auto check = [&](PF_FunctionSelector selector, PF_Err expected, auto fill) {
        PF_ArbParamsExtra request = ramps.Request(selector);
        fill(request.u);
        const host::CommandResult result = effect().Send(PF_Cmd_ARBITRARY_CALLBACK, &request);
        EXPECT_EQ(result.err, expected) << selector;
        EXPECT_EQ(result.out.out_flags & PF_OutFlag_DISPLAY_ERROR_MESSAGE, 0) << selector;
        EXPECT_EQ(result.Message(), "") << selector;
    };
    // Not the ramp's: another refcon, a selector outside NEW to SCAN; nothing is made.
    int foreign = 0;
    PF_ArbitraryH slot = nullptr;
    check(0, kRefused, [&](auto& u) { u.new_func_params = {&foreign, &slot}; });
    for (PF_FunctionSelector selector : {-1, 11, 12}) {
        check(selector, kRefused, [&](auto& u) { u.new_func_params.arbPH = &slot; });
    }
    EXPECT_EQ(slot, nullptr);
    EXPECT_EQ(host.faults().Calls("host_new_handle"), 1);
    // A buffer of another size than the record (28 bytes) or the text (30 characters and a
    // NUL) is left untouched.
    for (A_u_long size : {27u, 29u, 30u, 32u}) {
        std::vector<char> buffer(size, 'x');
        if (size < 30) {
            check(4, kDamaged, [&](auto& u) {
                u.flatten_func_params = {kRampRefcon, value, size, buffer.data()};
            });
        } else {
            check(9, kRefused, [&](auto& u) {
                u.print_func_params = {kRampRefcon, 0, value, size, buffer.data()};
            });
        }
        EXPECT_EQ(buffer, std::vector<char>(size, 'x'));
    }
    // Nowhere to put an answer.
    check(0, PF_Err_BAD_CALLBACK_PARAM, [](auto&) {});
    check(3, PF_Err_BAD_CALLBACK_PARAM, [&](auto& u) { u.flat_size_func_params.arbH = value; });
    check(7, PF_Err_BAD_CALLBACK_PARAM, [&](auto& u) {
        u.compare_func_params = {kRampRefcon, value, value, nullptr};
    });
    // No bytes and no text, whatever count the host claims: the new value stays as NEW made it.
    check(5, kDamaged, [&](auto& u) {
        u.unflatten_func_params = {kRampRefcon, 4096, nullptr, &slot};
    });
    EXPECT_EQ(Text(Keep({PF_Err_NONE, slot})), kDefaultText);
    check(10, kRefused, [&](auto& u) { u.scan_func_params = {kRampRefcon, nullptr, 4096, &slot}; });
    EXPECT_EQ(Text(Keep({PF_Err_NONE, slot})), kDefaultText);
}

// One request of each selector on values made beforehand.
host::ArbitraryValue Exercise(const host::ArbitraryValues& ramps, PF_FunctionSelector selector,
                              PF_ArbitraryH a, PF_ArbitraryH b) {
    std::vector<uint8_t> bytes;
    std::string text;
    PF_ArbCompareResult compared;
    switch (selector) {
        case PF_Arbitrary_NEW_FUNC:
            return ramps.New();
        case PF_Arbitrary_DISPOSE_FUNC:
            return {ramps.Dispose(b), nullptr};
        case PF_Arbitrary_COPY_FUNC:
            return ramps.Copy(a);
        case PF_Arbitrary_FLAT_SIZE_FUNC:
        case PF_Arbitrary_FLATTEN_FUNC:
            return {ramps.Flatten(a, &bytes), nullptr};
        case PF_Arbitrary_UNFLATTEN_FUNC:
            return ramps.Unflatten(Flat(0, 1, {{0.0f, 0.0f}}).flatRamp);
        case PF_Arbitrary_INTERP_FUNC:
            return ramps.Interpolate(a, b, 0.25);
        case PF_Arbitrary_COMPARE_FUNC:
            return {ramps.Compare(a, b, &compared), nullptr};
        case PF_Arbitrary_PRINT_SIZE_FUNC:
        case PF_Arbitrary_PRINT_FUNC:
            return {ramps.Print(a, &text), nullptr};
        default:
            return ramps.Scan(kDefaultText);
    }
}

// Each request with, in turn, its first, second and third lock giving nothing, no memory for a
// new value and no handle suite: a lock that gives nothing is PF_Err_OUT_OF_MEMORY (DISPOSE
// tries it once more and so gives its value back), as is no memory for the value a request
// answers with, before any lock; without the handle suite every request but DISPOSE, which
// reaches its value through the utility callbacks, is PF_Err_BAD_CALLBACK_PARAM.
TEST_F(RampModuleTest, HostFailuresUndoEveryLockAndLoseNoValue) {
    int lockFailures = 0;
    for (PF_FunctionSelector selector = 0; selector <= 10; ++selector) {
        const bool makesValue =
            selector % 10 == 0 || selector == 2 || selector == 5 || selector == 6;
        for (int fault = 1; fault <= 5; ++fault) {
            const PF_ArbitraryH a = Keep(ramps.New());
            const PF_ArbitraryH b = ramps.New().handle;
            const long locks = host.faults().Calls("host_lock_handle");
            if (fault <= 3) {
                host.faults().NullCall("host_lock_handle", fault);
            } else if (fault == 4) {
                host.faults().NullCall("host_new_handle", 1);
            } else {
                host.faults().MakeSuiteUnavailable("PF Handle Suite");
            }
            const host::ArbitraryValue value = Exercise(ramps, selector, a, b);
            const long locked = host.faults().Calls("host_lock_handle") - locks;
            lockFailures += fault <= 3 && locked >= fault ? 1 : 0;
            PF_Err expected = PF_Err_NONE;
            if (fault <= 3 && locked >= fault && selector != PF_Arbitrary_DISPOSE_FUNC) {
                expected = PF_Err_OUT_OF_MEMORY;
            } else if (fault == 4 && makesValue) {
                expected = PF_Err_OUT_OF_MEMORY;
                EXPECT_EQ(locked, 0) << selector;
            } else if (fault == 5 && selector != PF_Arbitrary_DISPOSE_FUNC) {
                expected = PF_Err_BAD_CALLBACK_PARAM;
            }
            EXPECT_EQ(value.err, expected) << "selector " << selector << ", fault " << fault;
            EXPECT_TRUE(fault < 4 || expected == PF_Err_NONE || value.handle == nullptr);
            Keep(value);
            if (!(selector == PF_Arbitrary_DISPOSE_FUNC && value.err == PF_Err_NONE)) {
                Keep({PF_Err_NONE, b});
            }
            DisposeAll();
        }
    }
    // Locks taken, up to three: NEW and DISPOSE one; COPY and INTERP three (their new value
    // and the values they read); the rest two (a new value, or the size asked before).
    EXPECT_EQ(lockFailures, 1 + 1 + 3 + 3 + 7 * 2);

    // NEW without memory leaves the slot as the host passed it.
    int notAHandle = 0;
    PF_ArbitraryH untouched = reinterpret_cast<PF_ArbitraryH>(&notAHandle);
    PF_ArbParamsExtra fresh = ramps.Request(PF_Arbitrary_NEW_FUNC);
    fresh.u.new_func_params.arbPH = &untouched;
    host.faults().NullCall("host_new_handle", 1);
    EXPECT_EQ(ramps.Send(&fresh), PF_Err_OUT_OF_MEMORY);
    EXPECT_EQ(untouched, reinterpret_cast<PF_ArbitraryH>(&notAHandle));

    // No value where one is read: a lock that gave nothing, without asking the host to lock;
    // only INTERP's new value is locked.
    const long locksBefore = host.faults().Calls("host_lock_handle");
    for (PF_FunctionSelector selector : {3, 4, 6, 7, 8, 9}) {
        const host::ArbitraryValue value = Exercise(ramps, selector, nullptr, nullptr);
        EXPECT_EQ(value.err, PF_Err_OUT_OF_MEMORY) << selector;
        Keep(value);
    }
    EXPECT_EQ(ramps.Dispose(nullptr), PF_Err_NONE);
    EXPECT_EQ(host.faults().Calls("host_lock_handle") - locksBefore, 1);

    // A DISPOSE whose value stays out of reach leaves it to the host, which can dispose it
    // again.
    const PF_ArbitraryH unreachable = ramps.New().handle;
    host.faults().NullCall("host_lock_handle", 1);
    host.faults().NullCall("host_lock_handle", 2);
    EXPECT_EQ(ramps.Dispose(unreachable), PF_Err_OUT_OF_MEMORY);
    host.faults().Clear();
    EXPECT_EQ(ramps.Dispose(unreachable), PF_Err_NONE);
}

}  // namespace
}  // namespace quorvel::testing
