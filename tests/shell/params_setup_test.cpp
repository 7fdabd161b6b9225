// PARAMS_SETUP through the module and the host: the count, the default curves, what the host
// keeps of them, and every way the set-up can fail. The per-position settings (and with their
// types the nesting of the groups) are in params_setup_table_test.cpp.
#include <cstring>
#include <vector>

#include <gtest/gtest.h>

#include "shell/params/param_index.h"
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

TEST_F(ParamsSetupTest, AddsEightyParametersAndRegistersTheCustomUi) {
    const host::CommandResult result = SendParamsSetup();
    ASSERT_EQ(result.err, PF_Err_NONE);
    EXPECT_EQ(result.out.num_params, 80);
    ASSERT_EQ(parameters().Count(), 80);

    EXPECT_EQ(effect().UiRegistrations(), 1);
    PF_CustomUIInfo ui;
    std::memset(&ui, 0, sizeof ui);
    ui.events = PF_CustomEFlag_COMP | PF_CustomEFlag_LAYER | PF_CustomEFlag_EFFECT;
    const PF_CustomUIInfo registered = effect().RegisteredUi();
    EXPECT_EQ(std::memcmp(&registered, &ui, sizeof ui), 0);

    // Addressed by display name: a value parameter before the group that shares its name.
    EXPECT_EQ(parameters().Find("Distortion Along Ramp"), PARAM_DISTORTION_ALONG_RAMP);
    EXPECT_EQ(effect().Send(PF_Cmd_GLOBAL_SETDOWN).err, PF_Err_NONE);
    EXPECT_LEDGER_BALANCED(host);
}

struct ExpectedCurve {
    PF_ParamIndex index;
    int32_t mode;
    int32_t interpolation;
    Points points;
};

TEST_F(ParamsSetupTest, RampsCarryTheirDefaultCurvesAndStartAsCopiesOfThem) {
    ASSERT_EQ(SendParamsSetup().err, PF_Err_NONE);
    // clang-format off
    const std::vector<ExpectedCurve> expected = {
        {PARAM_MASK_1_BASE_POINTS_DENSITY, RampMode_WithoutSin, RampInterpolation_Sin,    {{0.0f, 0.5f}, {1.0f, 0.5f}}},
        {PARAM_MASK_2_BASE_POINTS_DENSITY, RampMode_WithoutSin, RampInterpolation_Sin,    {{0.0f, 0.5f}, {1.0f, 0.5f}}},
        {PARAM_QUORVEL_RAMP,               RampMode_All,        RampInterpolation_Bezier, {{0.0f, 0.0f}, {0.1f, 1.0f}, {1.0f, 1.0f}}},
        {PARAM_QUORVEL_PERPENDICULAR_RAMP, RampMode_All,        RampInterpolation_Sin,    {{0.0f, 0.0f}, {0.1f, 1.0f}, {0.9f, 1.0f}, {1.0f, 0.0f}}},
        {PARAM_DISTORTION_ALONG_RAMP,      RampMode_All,        RampInterpolation_Sin,    {{0.0f, 0.0f}, {0.33f, 1.0f}, {1.0f, 1.0f}}},
        {PARAM_DISTORTION_ACROSS_RAMP,     RampMode_All,        RampInterpolation_Sin,    {{0.0f, 1.0f}, {1.0f, 1.0f}}},
        {PARAM_OPACITY_ALONG_RAMP,         RampMode_All,        RampInterpolation_Sin,    {{0.0f, 1.0f}, {1.0f, 1.0f}}},
        {PARAM_OPACITY_ACROSS_RAMP,        RampMode_All,        RampInterpolation_Sin,    {{0.0f, 1.0f}, {1.0f, 1.0f}}},
        {PARAM_STRIPS_DISTRIBUTION,        RampMode_WithoutSin, RampInterpolation_Sin,    {{0.0f, 0.5f}, {1.0f, 0.5f}}},
    };
    // clang-format on
    // The arbitrary-data NEW callback's curve, which the host never takes as a default.
    const Points newCurve = {{0.0f, 1.0f}, {1.0f, 1.0f}};

    int bezier = 0;
    int likeNew = 0;
    for (const ExpectedCurve& curve : expected) {
        const PF_ParamDef def = Def(curve.index);
        SCOPED_TRACE(def.name);
        ASSERT_EQ(def.param_type, PF_Param_ARBITRARY_DATA);
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

TEST(ParamsSetupWithoutSuitesTest, AMissingHandleSuiteEndsTheSetupWithBadCallbackParam) {
    host::Host host(QUORVEL_MODULE_PATH);
    ASSERT_EQ(host.Register(), PF_Err_NONE);
    host.faults().MakeSuiteUnavailable("PF Handle Suite");
    EXPECT_EQ(host.effect().Send(PF_Cmd_PARAMS_SETUP).err, PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(host.effect().parameters().Count(), 4);
    EXPECT_LEDGER_BALANCED(host);
}

}  // namespace
}  // namespace quorvel::testing
