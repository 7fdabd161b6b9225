// The host's parameters on their own: values and keyframes over time, check-outs in the
// ledger, PF_UpdateParamUI, parameters by display name and saved id.
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "host/basic_suite.h"
#include "tests/support/module_params.h"

namespace quorvel::testing {
namespace {

using host::EffectInstance;
using host::ParamValue;

PF_ParamDef Definition(PF_ParamType type, const char* name, A_long savedId) {
    PF_ParamDef def = {};
    def.param_type = type;
    def.uu.id = savedId;
    std::strncpy(def.name, name, sizeof(def.name) - 1);
    return def;
}

class ParametersTest : public ModuleTest {
  protected:
    host::Parameters& parameters() { return effect().parameters(); }

    PF_ParamIndex Add(PF_ParamType type, const char* name, A_long savedId) {
        return parameters().Append(Definition(type, name, savedId));
    }

    // The definition the module would get at seconds, checked in again at once.
    PF_ParamDef At(PF_ParamIndex index, double seconds) {
        PF_ParamDef def = {};
        const A_long time = static_cast<A_long>(std::llround(seconds * kScale));
        EXPECT_EQ(EffectInstance::CheckoutParam(&effect(), index, time, 100, kScale, &def),
                  PF_Err_NONE);
        EXPECT_EQ(parameters().OutstandingCheckouts(), 1u);
        EXPECT_EQ(host.ledger().Count("check-out of parameter " + std::to_string(index)), 1);
        EXPECT_EQ(EffectInstance::CheckinParam(&effect(), &def), PF_Err_NONE);
        EXPECT_LEDGER_BALANCED(host);
        return def;
    }
};

TEST_F(ParametersTest, KeyframedValuesAtSeveralTimes) {
    const PF_ParamIndex amount = Add(PF_Param_FLOAT_SLIDER, "Amount", 10);
    const PF_ParamIndex count = Add(PF_Param_SLIDER, "Count", 11);
    const PF_ParamIndex negative = Add(PF_Param_SLIDER, "Negative", 12);
    const PF_ParamIndex enabled = Add(PF_Param_CHECKBOX, "Enabled", 13);
    const PF_ParamIndex mode = Add(PF_Param_POPUP, "Mode", 14);
    const PF_ParamIndex mask = Add(PF_Param_PATH, "Mask", 15);

    ASSERT_EQ(parameters().SetValue(amount, Number(5.0)), PF_Err_NONE);
    EXPECT_EQ(At(amount, 7.0).u.fs_d.value, 5.0) << "without keyframes the value holds";

    ASSERT_EQ(parameters().SetKeyframe(amount, 3.0, Number(20.0)), PF_Err_NONE);
    ASSERT_EQ(parameters().SetKeyframe(amount, 1.0, Number(10.0)), PF_Err_NONE);
    ASSERT_EQ(parameters().SetKeyframe(count, 0.0, Number(0)), PF_Err_NONE);
    ASSERT_EQ(parameters().SetKeyframe(count, 2.0, Number(3)), PF_Err_NONE);
    ASSERT_EQ(parameters().SetKeyframe(negative, 0.0, Number(-1)), PF_Err_NONE);
    ASSERT_EQ(parameters().SetKeyframe(negative, 1.0, Number(-2)), PF_Err_NONE);
    ASSERT_EQ(parameters().SetKeyframe(enabled, 1.0, Number(0)), PF_Err_NONE);
    ASSERT_EQ(parameters().SetKeyframe(enabled, 2.0, Number(1)), PF_Err_NONE);
    ASSERT_EQ(parameters().SetKeyframe(mode, 0.0, Number(1)), PF_Err_NONE);
    ASSERT_EQ(parameters().SetKeyframe(mode, 1.0, Number(3)), PF_Err_NONE);
    ASSERT_EQ(parameters().SetKeyframe(mask, 0.0, Number(7)), PF_Err_NONE);
    ASSERT_EQ(parameters().SetKeyframe(mask, 1.0, Number(0xFFFFFFFFu)), PF_Err_NONE);

    // Float sliders: the first key before it, linear between keys, the last key after it.
    EXPECT_EQ(At(amount, 0.0).u.fs_d.value, 10.0);
    EXPECT_EQ(At(amount, 1.0).u.fs_d.value, 10.0);
    EXPECT_EQ(At(amount, 1.5).u.fs_d.value, 12.5);
    EXPECT_EQ(At(amount, 3.0).u.fs_d.value, 20.0);
    EXPECT_EQ(At(amount, 100.0).u.fs_d.value, 20.0);
    // Integer sliders round the linear value, halves away from zero.
    EXPECT_EQ(At(count, 0.5).u.sd.value, 1);  // 0.75
    EXPECT_EQ(At(count, 1.0).u.sd.value, 2);  // 1.5
    EXPECT_EQ(At(count, 1.5).u.sd.value, 2);  // 2.25
    EXPECT_EQ(At(negative, 0.5).u.sd.value, -2);
    EXPECT_EQ(At(negative, 0.25).u.sd.value, -1);
    // Checkboxes, popups and paths hold the earlier key.
    EXPECT_EQ(At(enabled, 1.99).u.bd.value, 0);
    EXPECT_EQ(At(enabled, 2.0).u.bd.value, 1);
    EXPECT_EQ(At(mode, 0.99).u.pd.value, 1);
    EXPECT_EQ(At(mode, 1.0).u.pd.value, 3);
    EXPECT_EQ(At(mask, 0.9).u.path_d.path_id, 7u);
    EXPECT_EQ(At(mask, 1.0).u.path_d.path_id, 0xFFFFFFFFu);

    // A key at an existing time replaces it; the keys stay in order of time.
    ASSERT_EQ(parameters().SetKeyframe(amount, 1.0, Number(0.0)), PF_Err_NONE);
    EXPECT_EQ(parameters().KeyframeCount(amount), 2u);
    double time = 0.0;
    ParamValue value;
    ASSERT_EQ(parameters().GetKeyframe(amount, 0, &time, &value), PF_Err_NONE);
    EXPECT_EQ(time, 1.0);
    EXPECT_EQ(value, Number(0.0));
    EXPECT_EQ(At(amount, 2.0).u.fs_d.value, 10.0);

    // The params array of a command shows the values at the command's time.
    const std::vector<PF_ParamDef> array = parameters().SnapshotAt(1.5);
    EXPECT_EQ(array[amount].u.fs_d.value, 5.0);
    EXPECT_EQ(array[count].u.sd.value, 2);
    EXPECT_EQ(array[enabled].u.bd.value, 0);

    ASSERT_EQ(parameters().ClearKeyframes(amount), PF_Err_NONE);
    EXPECT_EQ(At(amount, 2.0).u.fs_d.value, 5.0);
}

TEST_F(ParametersTest, ValuesThatDoNotFitAreRefusedAndChangeNothing) {
    const PF_ParamIndex count = Add(PF_Param_SLIDER, "Count", 11);
    PF_ParamDef fixed = Definition(PF_Param_CHECKBOX, "Fixed", 12);
    fixed.flags = PF_ParamFlag_CANNOT_TIME_VARY;
    const PF_ParamIndex fixedIndex = parameters().Append(fixed);
    const PF_ParamIndex group = Add(PF_Param_GROUP_START, "Group", 13);

    ASSERT_EQ(parameters().SetValue(count, Number(2147483647.0)), PF_Err_NONE);
    for (double bad : {1.5, 2147483648.0, -2147483649.0, std::nan("")}) {
        EXPECT_EQ(parameters().SetValue(count, Number(bad)), PF_Err_BAD_CALLBACK_PARAM) << bad;
        EXPECT_EQ(parameters().SetKeyframe(count, 1.0, Number(bad)), PF_Err_BAD_CALLBACK_PARAM);
    }
    EXPECT_EQ(parameters().SetKeyframe(count, std::nan(""), Number(1)), PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(parameters().SetKeyframe(count, INFINITY, Number(1)), PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(parameters().KeyframeCount(count), 0u);
    EXPECT_EQ(At(count, 0.0).u.sd.value, 2147483647);

    EXPECT_EQ(parameters().SetValue(fixedIndex, Number(256)), PF_Err_NONE);
    EXPECT_EQ(parameters().SetKeyframe(fixedIndex, 1.0, Number(1)), PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(parameters().SetValue(group, Number(1)), PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(parameters().SetValue(99, Number(1)), PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(At(fixedIndex, 5.0).u.bd.value, 256);
}

TEST_F(ParametersTest, ParametersAreFoundByDisplayNameAndSavedId) {
    const PF_ParamIndex group = Add(PF_Param_GROUP_START, "Opacity Along Ramp", 95);
    const PF_ParamIndex slider = Add(PF_Param_FLOAT_SLIDER, "Opacity Along Ramp", 43);
    Add(PF_Param_GROUP_END, "", 89);
    const PF_ParamIndex only = Add(PF_Param_GROUP_START, "Render", 46);
    EXPECT_EQ(parameters().Find("Opacity Along Ramp"), slider) << "the value before the group";
    EXPECT_EQ(parameters().Find("Render"), only);
    EXPECT_EQ(parameters().Find("render"), -1);
    EXPECT_EQ(parameters().Find(""), -1) << "group ends have no name to be found by";
    EXPECT_EQ(parameters().Find(std::string(40, 'x')), -1);
    EXPECT_EQ(parameters().FindSavedId(95), group);
    EXPECT_EQ(parameters().FindSavedId(43), slider);
    EXPECT_EQ(parameters().FindSavedId(47), -1);
}

TEST_F(ParametersTest, FailedCheckoutsAndBadCheckinsKeepTheLedgerHonest) {
    const PF_ParamIndex amount = Add(PF_Param_FLOAT_SLIDER, "Amount", 10);
    PF_ParamDef def = {};
    EXPECT_EQ(EffectInstance::CheckoutParam(&effect(), 99, 0, 1, kScale, &def),
              PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(EffectInstance::CheckoutParam(&effect(), amount, 0, 1, 0, &def),
              PF_Err_BAD_CALLBACK_PARAM)
        << "no time scale";
    host.faults().FailCall("checkout_param", 1, PF_Err_OUT_OF_MEMORY);
    EXPECT_EQ(EffectInstance::CheckoutParam(&effect(), amount, 0, 1, kScale, &def),
              PF_Err_OUT_OF_MEMORY);
    EXPECT_EQ(parameters().OutstandingCheckouts(), 0u);
    EXPECT_LEDGER_BALANCED(host);

    // The same definition checked out again without checking the failed one in: its
    // check-in answers for the successful check-out.
    EXPECT_EQ(EffectInstance::CheckoutParam(&effect(), amount, 0, 1, kScale, &def), PF_Err_NONE);
    EXPECT_FALSE(host.ledger().IsBalanced());
    EXPECT_EQ(EffectInstance::CheckinParam(&effect(), &def), PF_Err_NONE);
    EXPECT_LEDGER_BALANCED(host);

    // A failed check-out may still be checked in; anything else is misuse.
    host.faults().FailCall("checkout_param", 1, PF_Err_OUT_OF_MEMORY);
    EffectInstance::CheckoutParam(&effect(), amount, 0, 1, kScale, &def);
    EXPECT_EQ(EffectInstance::CheckinParam(&effect(), &def), PF_Err_NONE);
    EXPECT_LEDGER_BALANCED(host);
    EXPECT_EQ(EffectInstance::CheckinParam(&effect(), &def), PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(host.ledger().Misuses().size(), 1u);
}

TEST_F(ParametersTest, UpdateParamUiTakesOnlyTheUserInterfacePart) {
    const PF_ParamIndex count = Add(PF_Param_SLIDER, "Count", 69);
    ASSERT_EQ(parameters().SetValue(count, Number(100)), PF_Err_NONE);
    const void* table = nullptr;
    ASSERT_EQ(host::BasicSuite()->AcquireSuite("PF Param Utils Suite", 3, &table), PF_Err_NONE);
    const auto* suite = static_cast<const PF_ParamUtilsSuite3*>(table);

    PF_ParamDef sent = parameters().At(count);
    sent.ui_flags = PF_PUI_DISABLED;
    sent.flags = PF_ParamFlag_COLLAPSE_TWIRLY;
    sent.u.sd.value = 5;
    EXPECT_EQ(suite->PF_UpdateParamUI(&effect(), count, &sent), PF_Err_NONE);
    const PF_ParamDef kept = parameters().At(count);
    EXPECT_EQ(kept.ui_flags, PF_PUI_DISABLED);
    EXPECT_EQ(kept.flags, PF_ParamFlag_COLLAPSE_TWIRLY);
    EXPECT_EQ(kept.u.sd.value, 100) << "the value is not the UI's to change";
    ASSERT_EQ(parameters().UiUpdates().size(), 1u);
    EXPECT_EQ(parameters().UiUpdates()[0].first, count);

    EXPECT_EQ(suite->PF_UpdateParamUI(&effect(), 0, &sent), PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(suite->PF_UpdateParamUI(&effect(), 50, &sent), PF_Err_BAD_CALLBACK_PARAM);
    host.faults().FailCall("PF_UpdateParamUI", 1, PF_Err_INTERNAL_STRUCT_DAMAGED);
    EXPECT_EQ(suite->PF_UpdateParamUI(&effect(), count, &sent), PF_Err_INTERNAL_STRUCT_DAMAGED);
    EXPECT_EQ(suite->PF_UpdateParamUI(nullptr, count, &sent), PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(parameters().UiUpdates().size(), 1u);
    host::BasicSuite()->ReleaseSuite("PF Param Utils Suite", 3);
}

TEST_F(ParametersTest, ARampDefaultThatTheEffectCannotCopyFailsTheSetup) {
    // The nine defaults take the first nine handles; the tenth is the first copy's.
    host.faults().NullCall("host_new_handle", 10);
    EXPECT_EQ(effect().Send(PF_Cmd_PARAMS_SETUP).err, PF_Err_OUT_OF_MEMORY);
    EXPECT_EQ(parameters().At(4).u.arb_d.value, nullptr);
    parameters().DisposeRamps();
    EXPECT_LEDGER_BALANCED(host);
}

TEST_F(ParametersTest, QueryDynamicFlagsSeesAnimateAtTheCommandsTime) {
    ASSERT_EQ(effect().Send(PF_Cmd_GLOBAL_SETUP).err, PF_Err_NONE);
    PutCheckbox(host, 65, 0);
    ASSERT_EQ(parameters().SetKeyframe(65, 1.0, Number(0)), PF_Err_NONE);
    ASSERT_EQ(parameters().SetKeyframe(65, 2.0, Number(1)), PF_Err_NONE);
    for (const auto& [seconds, animated] :
         {std::pair<double, bool>{0.0, false}, {1.5, false}, {2.0, true}, {9.0, true}}) {
        host::InstanceSettings settings = effect().Settings();
        settings.currentTime = static_cast<A_long>(seconds * settings.timeScale);
        effect().SetSettings(settings);
        const host::CommandResult result = effect().Send(PF_Cmd_QUERY_DYNAMIC_FLAGS);
        ASSERT_EQ(result.err, PF_Err_NONE);
        EXPECT_EQ((result.out.out_flags & PF_OutFlag_NON_PARAM_VARY) != 0, animated) << seconds;
        EXPECT_LEDGER_BALANCED(host);
    }
    EXPECT_EQ(effect().Send(PF_Cmd_GLOBAL_SETDOWN).err, PF_Err_NONE);
}

}  // namespace
}  // namespace quorvel::testing
