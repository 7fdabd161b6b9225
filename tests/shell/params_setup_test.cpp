#include <cstring>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "ramp/ramp.h"
#include "shell/exception.h"
#include "shell/param_index.h"
#include "shell/params_setup.h"
#include "tests/shell/fake_effect_host.h"

namespace {

constexpr uint64_t kRampRefcon = 0x0052414D50000000ULL;

// The definition that add_param received for a parameter index.
const PF_ParamDef& Added(const FakeEffectHost& host, int index) {
    return host.added.at(index - 1);
}

// What ParamsSetup throws, with the shape that EffectMain tells apart.
using Thrown = std::pair<std::string, PF_Err>;
Thrown ThrownBySetup(FakeEffectHost& host) {
    try {
        ParamsSetup(&host.in_data, &host.out_data);
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "");
        return {"Exception", e.err};
    } catch (int code) {
        return {"int", code};
    } catch (PF_ErrorCode code) {
        return {"host error", code};
    }
    return {"nothing", PF_Err_NONE};
}

TEST(ParamsSetupTest, AddsEightyParametersWithUniqueSavedIdsAndExactlyTheListedGaps) {
    FakeEffectHost host;
    ParamsSetup(&host.in_data, &host.out_data);

    EXPECT_EQ(host.out_data.num_params, 80);
    EXPECT_EQ(host.numParamsAtFirstAdd, 80) << "num_params is set before the first parameter";
    ASSERT_EQ(host.added.size(), 79u);
    EXPECT_EQ(PARAM_COUNT, 80);

    std::set<A_long> ids;
    for (const PF_ParamDef& def : host.added) {
        EXPECT_TRUE(ids.insert(def.uu.id).second) << "saved id " << def.uu.id << " given twice";
    }
    const std::set<A_long> gaps = {47, 52, 55, 56, 57, 58, 59, 60, 61,
                                   62, 66, 68, 74, 79, 81, 85, 90};
    std::set<A_long> expected;
    for (A_long id = 1; id <= 96; ++id) {
        if (gaps.count(id) == 0) {
            expected.insert(id);
        }
    }
    EXPECT_EQ(ids, expected);
    // A few anchors that old projects rely on.
    EXPECT_EQ(Added(host, PARAM_OFFSET).uu.id, 75);
    EXPECT_EQ(Added(host, PARAM_ACROSS_BASE_POINTS).uu.id, 4);
    EXPECT_EQ(Added(host, PARAM_OPACITY_ACROSS_RAMP_GROUP_START).uu.id, 96);

    ASSERT_EQ(host.registered.size(), 1u);
    PF_CustomUIInfo expectedUi;
    std::memset(&expectedUi, 0, sizeof expectedUi);
    expectedUi.events = PF_CustomEFlag_COMP | PF_CustomEFlag_LAYER | PF_CustomEFlag_EFFECT;
    EXPECT_EQ(std::memcmp(&host.registered[0], &expectedUi, sizeof expectedUi), 0);
    EXPECT_EQ(host.Unreleased(), 0);
}

TEST(ParamsSetupTest, GroupsNestAndCloseWhereListed) {
    FakeEffectHost host;
    ParamsSetup(&host.in_data, &host.out_data);

    std::vector<int> open;
    std::vector<std::pair<int, int>> groups;
    std::vector<int> depth(80, 0);
    for (int index = 1; index < PARAM_COUNT; ++index) {
        const PF_ParamDef& def = Added(host, index);
        depth[index] = static_cast<int>(open.size());
        if (def.param_type == PF_Param_GROUP_START) {
            EXPECT_EQ(def.flags, 0) << "group " << def.name << " must not start collapsed";
            open.push_back(index);
        } else if (def.param_type == PF_Param_GROUP_END) {
            EXPECT_STREQ(def.name, "") << index;
            ASSERT_FALSE(open.empty()) << "group end " << index << " closes nothing";
            groups.emplace_back(open.back(), index);
            open.pop_back();
        }
    }
    EXPECT_TRUE(open.empty());
    const std::vector<std::pair<int, int>> expected = {{3, 8},   {16, 29}, {30, 35}, {36, 41},
                                                       {15, 42}, {44, 49}, {50, 55}, {43, 56},
                                                       {57, 63}, {64, 69}, {70, 79}};
    EXPECT_EQ(groups, expected);
    for (int index : {1, 2, 9, 10, 11, 12, 13, 14}) {
        EXPECT_EQ(depth[index], 0) << index << " stands at the top level";
    }
    // The ramp sub-groups carry the name of the ramp they hold.
    for (int ramp : {PARAM_DISTORTION_ALONG_RAMP, PARAM_DISTORTION_ACROSS_RAMP,
                     PARAM_OPACITY_ALONG_RAMP, PARAM_OPACITY_ACROSS_RAMP}) {
        EXPECT_STREQ(Added(host, ramp - 1).name, Added(host, ramp).name);
    }
}

TEST(ParamsSetupTest, NamesFitAndDefaultsLieInsideTheirValidRanges) {
    FakeEffectHost host;
    ParamsSetup(&host.in_data, &host.out_data);

    size_t longest = 0;
    for (int index = 1; index < PARAM_COUNT; ++index) {
        const PF_ParamDef& def = Added(host, index);
        const size_t length = strnlen(def.name, sizeof def.name);
        ASSERT_LT(length, sizeof def.name) << index << " name is not terminated";
        EXPECT_LE(length, 31u);
        longest = std::max(longest, length);
        EXPECT_EQ(def.param_type == PF_Param_GROUP_END, length == 0) << index;
        switch (def.param_type) {
            case PF_Param_FLOAT_SLIDER: {
                const PF_FloatSliderDef& fs = def.u.fs_d;
                EXPECT_LE(fs.valid_min, fs.dephault) << def.name;
                EXPECT_LE(fs.dephault, fs.valid_max) << def.name;
                EXPECT_LE(fs.valid_min, fs.slider_min) << def.name;
                EXPECT_LE(fs.slider_max, fs.valid_max) << def.name;
                EXPECT_EQ(fs.value, static_cast<double>(fs.dephault)) << def.name;
                EXPECT_EQ(fs.curve_tolerance, 0.05f) << def.name;
                EXPECT_TRUE(fs.precision == 1 || fs.precision == 2) << def.name;
                EXPECT_EQ(def.flags, 0);
                break;
            }
            case PF_Param_SLIDER:
                EXPECT_LE(def.u.sd.valid_min, def.u.sd.dephault) << def.name;
                EXPECT_LE(def.u.sd.dephault, def.u.sd.valid_max) << def.name;
                EXPECT_EQ(def.u.sd.value, def.u.sd.dephault) << def.name;
                break;
            case PF_Param_CHECKBOX:
                EXPECT_TRUE(def.u.bd.dephault == 0 || def.u.bd.dephault == 1) << def.name;
                EXPECT_EQ(def.u.bd.value, def.u.bd.dephault) << def.name;
                ASSERT_NE(def.u.bd.u.nameptr, nullptr);
                EXPECT_STREQ(def.u.bd.u.nameptr, "");
                break;
            case PF_Param_POPUP: {
                const std::string choices = def.u.pd.u.namesptr;
                const long count =
                    1 + static_cast<long>(std::count(choices.begin(), choices.end(), '|'));
                EXPECT_EQ(def.u.pd.num_choices, count) << def.name;
                EXPECT_GE(def.u.pd.dephault, 1) << def.name;
                EXPECT_LE(def.u.pd.dephault, def.u.pd.num_choices) << def.name;
                EXPECT_EQ(def.u.pd.value, def.u.pd.dephault) << def.name;
                break;
            }
            case PF_Param_PATH:
                EXPECT_EQ(def.u.path_d.dephault, 0);
                EXPECT_EQ(def.u.path_d.path_id, 0u);
                break;
            default:
                break;
        }
    }
    EXPECT_EQ(longest, strlen("Distortion Noise Across Factor"));

    // Quirks that stand as they are: a default above the slider range, a slider range below
    // the valid range, the one checkbox that starts on, the supervised checkbox.
    EXPECT_EQ(Added(host, PARAM_STRIPS_RANDOM_FACTOR).u.fs_d.dephault, 30.0f);
    EXPECT_EQ(Added(host, PARAM_STRIPS_RANDOM_FACTOR).u.fs_d.slider_max, 10.0f);
    EXPECT_EQ(Added(host, PARAM_STRIPS_COUNT).u.sd.slider_min, 0);
    EXPECT_EQ(Added(host, PARAM_STRIPS_COUNT).u.sd.valid_min, 2);
    EXPECT_EQ(Added(host, PARAM_DISTORTION_NOISE_SEED).u.sd.valid_max, 2147483647);
    EXPECT_EQ(Added(host, PARAM_DISTORTION_NOISE_OFFSET_X).u.fs_d.valid_min, -FLT_MAX);
    EXPECT_EQ(Added(host, PARAM_MULTISAMPLE_ANTI_ALIASING).u.bd.value, 1);
    EXPECT_EQ(Added(host, PARAM_STRIPS_ENABLE).flags, 66);
    EXPECT_EQ(Added(host, PARAM_SHOW_MASKS_NAMES).flags, 2);
    EXPECT_EQ(Added(host, PARAM_BACKGROUND_BLEND_MODE).u.pd.value, BackgroundMode_Normal);
    int plain = 0;
    for (const PF_ParamDef& def : host.added) {
        if (def.param_type == PF_Param_FLOAT_SLIDER && def.u.fs_d.display_flags == 0) {
            ++plain;
        }
    }
    EXPECT_EQ(plain, 5)
        << "amplitude, offsets X and Y, evolution and inner offset show plain numbers";
}

struct ExpectedCurve {
    int index;
    PF_ParamFlags flags;
    int32_t mode;
    int32_t interpolation;
    std::vector<std::pair<float, float>> points;
};

std::vector<std::pair<float, float>> PointsOf(const Ramp& ramp) {
    return std::vector<std::pair<float, float>>(ramp.points->begin(), ramp.points->end());
}

TEST(ParamsSetupTest, RampsCarryTheirDefaultCurvesInNewHandles) {
    FakeEffectHost host;
    ParamsSetup(&host.in_data, &host.out_data);

    const std::vector<ExpectedCurve> expected = {
        {4, 32, RampMode_WithoutSin, RampInterpolation_Sin, {{0.0f, 0.5f}, {1.0f, 0.5f}}},
        {6, 32, RampMode_WithoutSin, RampInterpolation_Sin, {{0.0f, 0.5f}, {1.0f, 0.5f}}},
        {13,
         32,
         RampMode_All,
         RampInterpolation_Bezier,
         {{0.0f, 0.0f}, {0.1f, 1.0f}, {1.0f, 1.0f}}},
        {14,
         32,
         RampMode_All,
         RampInterpolation_Sin,
         {{0.0f, 0.0f}, {0.1f, 1.0f}, {0.9f, 1.0f}, {1.0f, 0.0f}}},
        {31, 0, RampMode_All, RampInterpolation_Sin, {{0.0f, 0.0f}, {0.33f, 1.0f}, {1.0f, 1.0f}}},
        {37, 0, RampMode_All, RampInterpolation_Sin, {{0.0f, 1.0f}, {1.0f, 1.0f}}},
        {45, 0, RampMode_All, RampInterpolation_Sin, {{0.0f, 1.0f}, {1.0f, 1.0f}}},
        {51, 0, RampMode_All, RampInterpolation_Sin, {{0.0f, 1.0f}, {1.0f, 1.0f}}},
        {62, 32, RampMode_WithoutSin, RampInterpolation_Sin, {{0.0f, 0.5f}, {1.0f, 0.5f}}},
    };
    // The arbitrary-data NEW callback's curve, which the host never takes as a default.
    const std::vector<std::pair<float, float>> newCurve = {{0.0f, 1.0f}, {1.0f, 1.0f}};

    int ramps = 0;
    int bezier = 0;
    int likeNew = 0;
    for (const PF_ParamDef& def : host.added) {
        ramps += def.param_type == PF_Param_ARBITRARY_DATA;
    }
    EXPECT_EQ(ramps, 9);
    EXPECT_EQ(host.LiveHandles(), 9u);
    EXPECT_EQ(host.lockCount, host.unlockCount);
    for (const ExpectedCurve& curve : expected) {
        const PF_ParamDef& def = Added(host, curve.index);
        SCOPED_TRACE(def.name);
        ASSERT_EQ(def.param_type, PF_Param_ARBITRARY_DATA);
        EXPECT_EQ(def.flags, curve.flags);
        EXPECT_EQ(def.ui_flags, PF_PUI_CONTROL | PF_PUI_DONT_ERASE_CONTROL);
        EXPECT_EQ(def.ui_width, 150);
        EXPECT_EQ(def.ui_height, 140);
        EXPECT_EQ(def.u.arb_d.value, nullptr);
        EXPECT_EQ(def.u.arb_d.id, 0);
        EXPECT_EQ(def.u.arb_d.pad, 0);
        EXPECT_EQ(reinterpret_cast<uintptr_t>(def.u.arb_d.refconPV), kRampRefcon);
        ASSERT_NE(def.u.arb_d.dephault, nullptr);
        const Ramp& ramp = *static_cast<const Ramp*>(*def.u.arb_d.dephault);
        EXPECT_EQ(ramp.mode, curve.mode);
        EXPECT_EQ(ramp.interpolation, curve.interpolation);
        EXPECT_EQ(PointsOf(ramp), curve.points);
        bezier += ramp.interpolation == RampInterpolation_Bezier;
        likeNew += ramp.mode == RampMode_All && ramp.interpolation == RampInterpolation_Sin &&
                   PointsOf(ramp) == newCurve;
    }
    EXPECT_EQ(bezier, 1) << "only the Quorvel Ramp starts as a Bezier curve";
    // Six defaults differ from NEW's curve; the three flat ones inside the sub-groups equal it.
    EXPECT_EQ(likeNew, 3);
}

TEST(ParamsSetupTest, FailingAddParamStopsAtOnceAndFreesTheRampThatTheHostDidNotTake) {
    FakeEffectHost host;
    host.failAddParamAt = PARAM_QUORVEL_RAMP - 1;
    EXPECT_EQ(ThrownBySetup(host), Thrown("Exception", PF_Err_INTERNAL_STRUCT_DAMAGED));
    EXPECT_EQ(host.added.size(), 12u);
    EXPECT_EQ(host.addParamCalls, 13);
    EXPECT_TRUE(host.registered.empty());
    EXPECT_EQ(host.out_data.num_params, 80);
    // The two density ramps went to the host; the failed one's handle and map are freed.
    EXPECT_EQ(host.LiveHandles(), 2u);
    EXPECT_EQ(host.Unreleased(), 0);

    FakeEffectHost plain;
    plain.failAddParamAt = 0;
    plain.addParamError = 7;
    EXPECT_EQ(ThrownBySetup(plain), Thrown("Exception", 7));
    EXPECT_EQ(plain.addParamCalls, 1);
}

TEST(ParamsSetupTest, RampHandleFailuresEndWithOutOfMemory) {
    FakeEffectHost noHandle;
    noHandle.newHandleNullAt = 1;  // the second ramp
    EXPECT_EQ(ThrownBySetup(noHandle), Thrown("host error", PF_Err_OUT_OF_MEMORY));
    EXPECT_EQ(noHandle.added.size(), 5u);
    EXPECT_EQ(noHandle.LiveHandles(), 1u);
    EXPECT_EQ(noHandle.Unreleased(), 0);

    FakeEffectHost noLock;
    noLock.lockGivesNull = true;
    EXPECT_EQ(ThrownBySetup(noLock), Thrown("host error", PF_Err_OUT_OF_MEMORY));
    EXPECT_EQ(noLock.added.size(), 3u);
    EXPECT_EQ(noLock.LiveHandles(), 0u) << "the unlockable handle is disposed again";
    EXPECT_EQ(noLock.lockCount, noLock.unlockCount);
    EXPECT_EQ(noLock.Unreleased(), 0);
}

TEST(ParamsSetupTest, RegistrationAndSuiteFailures) {
    FakeEffectHost host;
    host.registerUiError = 12;
    EXPECT_EQ(ThrownBySetup(host), Thrown("Exception", 12));
    EXPECT_EQ(host.added.size(), 79u);
    EXPECT_EQ(host.Unreleased(), 0);

    FakeEffectHost noSuite;
    noSuite.unavailableSuites = {"PF Handle Suite 2"};
    EXPECT_EQ(ThrownBySetup(noSuite), Thrown("int", PF_Err_BAD_CALLBACK_PARAM));
    EXPECT_EQ(noSuite.added.size(), 3u);
    EXPECT_EQ(noSuite.Unreleased(), 0);
}

}  // namespace
