// PARAMS_SETUP through the module and the host: properties of the parameter set that catch
// real faults (counts, saved ids, nesting, names, defaults, the default curves), what the host
// keeps of it, and every way the set-up can fail.
#include <algorithm>
#include <cfloat>
#include <cstring>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "shell/param_index.h"
#include "tests/support/module_params.h"

namespace quorvel::testing {
namespace {

constexpr uintptr_t kRampRefcon = 0x0052414D50000000ULL;

class ParamsSetupTest : public ParamsModuleTest {
  protected:
    void SetUp() override {
        ParamsModuleTest::SetUp();
        liveBefore = host.handles().LiveCount();
    }

    PF_ParamDef Def(PF_ParamIndex index) { return parameters().At(index); }

    size_t liveBefore = 0;
};

TEST_F(ParamsSetupTest, AddsEightyParametersWithUniqueSavedIdsAndExactlyTheListedGaps) {
    const host::CommandResult result = SendParamsSetup();
    ASSERT_EQ(result.err, PF_Err_NONE);
    EXPECT_EQ(result.out.num_params, 80);
    ASSERT_EQ(parameters().Count(), 80);

    std::set<A_long> ids;
    for (PF_ParamIndex index = 1; index < PARAM_COUNT; ++index) {
        EXPECT_TRUE(ids.insert(Def(index).uu.id).second) << "saved id given twice: " << index;
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
    EXPECT_EQ(Def(PARAM_OFFSET).uu.id, 75);
    EXPECT_EQ(Def(PARAM_ACROSS_BASE_POINTS).uu.id, 4);
    EXPECT_EQ(Def(PARAM_OPACITY_ACROSS_RAMP_GROUP_START).uu.id, 96);

    EXPECT_EQ(effect().UiRegistrations(), 1);
    PF_CustomUIInfo ui;
    std::memset(&ui, 0, sizeof ui);
    ui.events = PF_CustomEFlag_COMP | PF_CustomEFlag_LAYER | PF_CustomEFlag_EFFECT;
    const PF_CustomUIInfo registered = effect().RegisteredUi();
    EXPECT_EQ(std::memcmp(&registered, &ui, sizeof ui), 0);

    // Addressed by display name: a value parameter before the group that shares its name.
    EXPECT_EQ(parameters().Find("Strips Enable"), PARAM_STRIPS_ENABLE);
    EXPECT_EQ(parameters().Find("Distortion Along Ramp"), PARAM_DISTORTION_ALONG_RAMP);
    EXPECT_EQ(parameters().Find("Render"), PARAM_RENDER_GROUP_START);
    EXPECT_EQ(parameters().FindSavedId(75), PARAM_OFFSET);

    EXPECT_EQ(effect().Send(PF_Cmd_GLOBAL_SETDOWN).err, PF_Err_NONE);
    EXPECT_LEDGER_BALANCED(host);
}

TEST_F(ParamsSetupTest, GroupsNestAndCloseWhereListed) {
    ASSERT_EQ(SendParamsSetup().err, PF_Err_NONE);
    std::vector<PF_ParamIndex> open;
    std::vector<std::pair<PF_ParamIndex, PF_ParamIndex>> groups;
    std::vector<size_t> depth(PARAM_COUNT, 0);
    for (PF_ParamIndex index = 1; index < PARAM_COUNT; ++index) {
        const PF_ParamDef def = Def(index);
        depth[index] = open.size();
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
    const std::vector<std::pair<PF_ParamIndex, PF_ParamIndex>> expected = {
        {3, 8},   {16, 29}, {30, 35}, {36, 41}, {15, 42}, {44, 49},
        {50, 55}, {43, 56}, {57, 63}, {64, 69}, {70, 79}};
    EXPECT_EQ(groups, expected);
    for (PF_ParamIndex index : {1, 2, 9, 10, 11, 12, 13, 14}) {
        EXPECT_EQ(depth[index], 0u) << index << " stands at the top level";
    }
    // The ramp sub-groups carry the name of the ramp they hold.
    for (PF_ParamIndex ramp : {PARAM_DISTORTION_ALONG_RAMP, PARAM_DISTORTION_ACROSS_RAMP,
                               PARAM_OPACITY_ALONG_RAMP, PARAM_OPACITY_ACROSS_RAMP}) {
        EXPECT_STREQ(Def(ramp - 1).name, Def(ramp).name);
    }
}

TEST_F(ParamsSetupTest, NamesFitAndDefaultsLieInsideTheirValidRanges) {
    ASSERT_EQ(SendParamsSetup().err, PF_Err_NONE);
    size_t longest = 0;
    int plain = 0;
    for (PF_ParamIndex index = 1; index < PARAM_COUNT; ++index) {
        const PF_ParamDef def = Def(index);
        const size_t length = strnlen(def.name, sizeof def.name);
        ASSERT_LT(length, sizeof def.name) << index << " name is not terminated";
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
                plain += fs.display_flags == 0;
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
                EXPECT_EQ(def.u.pd.num_choices, 1 + std::count(choices.begin(), choices.end(), '|'))
                    << def.name;
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
    EXPECT_EQ(plain, 5) << "amplitude, offsets X and Y, evolution, inner offset are plain";

    // Quirks that stand as they are: a default above the slider range, a slider range below
    // the valid range, the one checkbox that starts on, the supervised checkbox.
    EXPECT_EQ(Def(PARAM_STRIPS_RANDOM_FACTOR).u.fs_d.dephault, 30.0f);
    EXPECT_EQ(Def(PARAM_STRIPS_RANDOM_FACTOR).u.fs_d.slider_max, 10.0f);
    EXPECT_EQ(Def(PARAM_STRIPS_COUNT).u.sd.slider_min, 0);
    EXPECT_EQ(Def(PARAM_STRIPS_COUNT).u.sd.valid_min, 2);
    EXPECT_EQ(Def(PARAM_DISTORTION_NOISE_SEED).u.sd.valid_max, 2147483647);
    EXPECT_EQ(Def(PARAM_DISTORTION_NOISE_OFFSET_X).u.fs_d.valid_min, -FLT_MAX);
    EXPECT_EQ(Def(PARAM_MULTISAMPLE_ANTI_ALIASING).u.bd.value, 1);
    EXPECT_EQ(Def(PARAM_STRIPS_ENABLE).flags, 66);
    EXPECT_EQ(Def(PARAM_SHOW_MASKS_NAMES).flags, 2);
    EXPECT_EQ(Def(PARAM_BACKGROUND_BLEND_MODE).u.pd.value, BackgroundMode_Normal);
}

struct ExpectedCurve {
    PF_ParamIndex index;
    PF_ParamFlags flags;
    int32_t mode;
    int32_t interpolation;
    Points points;
};

TEST_F(ParamsSetupTest, RampsCarryTheirDefaultCurvesAndStartAsCopiesOfThem) {
    ASSERT_EQ(SendParamsSetup().err, PF_Err_NONE);
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
    const Points newCurve = {{0.0f, 1.0f}, {1.0f, 1.0f}};

    int ramps = 0;
    for (PF_ParamIndex index = 1; index < PARAM_COUNT; ++index) {
        ramps += Def(index).param_type == PF_Param_ARBITRARY_DATA;
    }
    EXPECT_EQ(ramps, 9);
    int bezier = 0;
    int likeNew = 0;
    for (const ExpectedCurve& curve : expected) {
        const PF_ParamDef def = Def(curve.index);
        SCOPED_TRACE(def.name);
        ASSERT_EQ(def.param_type, PF_Param_ARBITRARY_DATA);
        EXPECT_EQ(def.flags, curve.flags);
        EXPECT_EQ(def.ui_flags, PF_PUI_CONTROL | PF_PUI_DONT_ERASE_CONTROL);
        EXPECT_EQ(def.ui_width, 150);
        EXPECT_EQ(def.ui_height, 140);
        EXPECT_EQ(def.u.arb_d.id, 0);
        EXPECT_EQ(def.u.arb_d.pad, 0);
        EXPECT_EQ(reinterpret_cast<uintptr_t>(def.u.arb_d.refconPV), kRampRefcon);
        ASSERT_NE(def.u.arb_d.dephault, nullptr);
        EXPECT_EQ(host.handles().Size(def.u.arb_d.dephault), sizeof(Ramp));
        const Ramp& ramp = RampIn(def.u.arb_d.dephault);
        EXPECT_EQ(ramp.mode, curve.mode);
        EXPECT_EQ(ramp.interpolation, curve.interpolation);
        EXPECT_EQ(PointsOf(def.u.arb_d.dephault), curve.points);
        bezier += ramp.interpolation == RampInterpolation_Bezier;
        likeNew += ramp.mode == RampMode_All && ramp.interpolation == RampInterpolation_Sin &&
                   PointsOf(def.u.arb_d.dephault) == newCurve;
        // The module hands over no value; the host makes it a copy of the default.
        ASSERT_NE(def.u.arb_d.value, nullptr);
        EXPECT_NE(def.u.arb_d.value, def.u.arb_d.dephault);
        EXPECT_EQ(PointsOf(def.u.arb_d.value), curve.points);
        EXPECT_EQ(RampIn(def.u.arb_d.value).interpolation, curve.interpolation);
    }
    EXPECT_EQ(bezier, 1) << "only the Quorvel Ramp starts as a Bezier curve";
    // Six defaults differ from NEW's curve; the three flat ones inside the sub-groups equal it.
    EXPECT_EQ(likeNew, 3);
    EXPECT_EQ(host.handles().LiveCount(), liveBefore + 18);
}

TEST_F(ParamsSetupTest, AFailingAddParamStopsAtOnceAndFreesTheRampThatTheHostDidNotTake) {
    // num_params is set before the first parameter is added.
    host.faults().FailCall("add_param", 1, 7);
    host::CommandResult result = SendParamsSetup();
    EXPECT_EQ(result.err, 7);
    EXPECT_EQ(result.out.num_params, 80);
    EXPECT_EQ(parameters().Count(), 1);

    // The 13th parameter is the Quorvel Ramp: its default never reaches the host.
    host.faults().FailCall("add_param", 13, PF_Err_INTERNAL_STRUCT_DAMAGED);
    result = SendParamsSetup();
    EXPECT_EQ(result.err, PF_Err_INTERNAL_STRUCT_DAMAGED);
    EXPECT_EQ(result.Message(), "");
    EXPECT_EQ(parameters().Count(), 13);
    EXPECT_EQ(effect().UiRegistrations(), 0);
    // The two density defaults and their values stay with the host; nothing else lives.
    EXPECT_EQ(host.handles().LiveCount(), liveBefore + 4);
}

TEST_F(ParamsSetupTest, RampHandleFailuresEndWithOutOfMemory) {
    host.faults().NullCall("host_new_handle", 2);  // the second ramp's default
    EXPECT_EQ(SendParamsSetup().err, PF_Err_OUT_OF_MEMORY);
    EXPECT_EQ(parameters().Count(), 6) << "the input and the five before the second ramp";
    EXPECT_EQ(host.handles().LiveCount(), liveBefore + 2) << "the first default and its value";
}

TEST_F(ParamsSetupTest, ARampHandleThatCannotBeLockedIsDisposedAgain) {
    host.faults().NullCall("host_lock_handle", 1);
    EXPECT_EQ(SendParamsSetup().err, PF_Err_OUT_OF_MEMORY);
    EXPECT_EQ(parameters().Count(), 4) << "the input and the three before the first ramp";
    EXPECT_EQ(host.handles().LiveCount(), liveBefore);
}

TEST_F(ParamsSetupTest, RegistrationAndSuiteFailures) {
    host.faults().FailCall("register_ui", 1, 12);
    host::CommandResult result = SendParamsSetup();
    EXPECT_EQ(result.err, 12);
    EXPECT_EQ(result.Message(), "");
    EXPECT_EQ(parameters().Count(), 80);
    host.faults().Clear();
    EXPECT_EQ(effect().Send(PF_Cmd_GLOBAL_SETDOWN).err, PF_Err_NONE);
}

TEST(ParamsSetupWithoutSuitesTest, AMissingHandleSuiteEndsTheSetupWith516) {
    host::Host host(QUORVEL_MODULE_PATH);
    ASSERT_EQ(host.Register(), PF_Err_NONE);
    host.faults().MakeSuiteUnavailable("PF Handle Suite");
    EXPECT_EQ(host.effect().Send(PF_Cmd_PARAMS_SETUP).err, PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(host.effect().parameters().Count(), 4);
    EXPECT_LEDGER_BALANCED(host);
}

}  // namespace
}  // namespace quorvel::testing
