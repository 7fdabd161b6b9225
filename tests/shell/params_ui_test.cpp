// UPDATE_PARAMS_UI through the module and the host: the four strip parameters greyed out
// while "Strips Enable" is off, sent only when they differ.
#include <cstring>
#include <vector>

#include <gtest/gtest.h>

#include "shell/params/param_index.h"
#include "tests/support/module_params.h"

namespace quorvel::testing {
namespace {

using ParamsUiTest = ParamsModuleTest;

TEST_F(ParamsUiTest, UpdateParamsUiSendsAllFourOnceThenNothingThenOnlyWhatDiffers) {
    ASSERT_EQ(SendParamsSetup().err, PF_Err_NONE);
    const PF_ParamIndex strips[] = {PARAM_STRIPS_COUNT, PARAM_STRIPS_RANDOM_FACTOR,
                                    PARAM_STRIPS_RANDOM_SEED, PARAM_STRIPS_DISTRIBUTION};
    std::vector<PF_ParamDef> before = parameters().Snapshot();

    // "Strips Enable" starts off: all four are greyed out, once.
    host::CommandResult result = effect().Send(PF_Cmd_UPDATE_PARAMS_UI);
    EXPECT_EQ(result.err, PF_Err_NONE);
    EXPECT_NE(result.out.out_flags & PF_OutFlag_FORCE_RERENDER, 0);
    EXPECT_LEDGER_BALANCED(host);
    auto updates = parameters().UiUpdates();
    ASSERT_EQ(updates.size(), 4u);
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(updates[i].first, strips[i]);
        PF_ParamDef sent = updates[i].second;
        PF_ParamDef own = before[strips[i]];
        EXPECT_EQ(sent.ui_flags & PF_PUI_DISABLED, PF_PUI_DISABLED);
        EXPECT_EQ(own.ui_flags & PF_PUI_DISABLED, 0);
        EXPECT_EQ(sent.flags & PF_ParamFlag_COLLAPSE_TWIRLY, PF_ParamFlag_COLLAPSE_TWIRLY);
        sent.ui_flags &= ~PF_PUI_DISABLED;
        sent.flags &= ~PF_ParamFlag_COLLAPSE_TWIRLY;
        own.flags &= ~PF_ParamFlag_COLLAPSE_TWIRLY;
        EXPECT_EQ(std::memcmp(&sent, &own, sizeof sent), 0) << "only the two bits differ";
        EXPECT_NE(parameters().At(strips[i]).ui_flags & PF_PUI_DISABLED, 0);
    }

    result = effect().Send(PF_Cmd_UPDATE_PARAMS_UI);
    EXPECT_EQ(result.out.out_flags & PF_OutFlag_FORCE_RERENDER, 0);
    EXPECT_EQ(parameters().UiUpdates().size(), 4u);

    // The host shows one of them enabled again: only that one is sent.
    PF_ParamDef seed = parameters().At(PARAM_STRIPS_RANDOM_SEED);
    seed.ui_flags &= ~PF_PUI_DISABLED;
    ASSERT_TRUE(parameters().Replace(PARAM_STRIPS_RANDOM_SEED, seed));
    result = effect().Send(PF_Cmd_UPDATE_PARAMS_UI);
    EXPECT_NE(result.out.out_flags & PF_OutFlag_FORCE_RERENDER, 0);
    updates = parameters().UiUpdates();
    ASSERT_EQ(updates.size(), 5u);
    EXPECT_EQ(updates[4].first, PARAM_STRIPS_RANDOM_SEED);

    // Switched on: all four come back; a value of 256 counts as off again.
    ASSERT_EQ(parameters().SetValue(PARAM_STRIPS_ENABLE, Number(1)), PF_Err_NONE);
    effect().Send(PF_Cmd_UPDATE_PARAMS_UI);
    EXPECT_EQ(parameters().UiUpdates().size(), 9u);
    for (PF_ParamIndex index : strips) {
        EXPECT_EQ(parameters().At(index).ui_flags & PF_PUI_DISABLED, 0);
    }
    ASSERT_EQ(parameters().SetValue(PARAM_STRIPS_ENABLE, Number(256)), PF_Err_NONE);
    effect().Send(PF_Cmd_UPDATE_PARAMS_UI);
    EXPECT_EQ(parameters().UiUpdates().size(), 13u);

    // A refusal by the host ends the command with its code and forces no render.
    ASSERT_EQ(parameters().SetValue(PARAM_STRIPS_ENABLE, Number(1)), PF_Err_NONE);
    host.faults().FailCall("PF_UpdateParamUI", 2, PF_Err_INTERNAL_STRUCT_DAMAGED);
    result = effect().Send(PF_Cmd_UPDATE_PARAMS_UI);
    EXPECT_EQ(result.err, PF_Err_INTERNAL_STRUCT_DAMAGED);
    EXPECT_EQ(result.out.out_flags & PF_OutFlag_FORCE_RERENDER, 0);
    EXPECT_EQ(parameters().UiUpdates().size(), 14u);
    EXPECT_LEDGER_BALANCED(host);
}

TEST_F(ParamsUiTest, AParameterArrayTooShortIsRefused) {
    // Before PARAMS_SETUP the host shows only the input layer.
    const host::CommandResult result = effect().Send(PF_Cmd_UPDATE_PARAMS_UI);
    EXPECT_EQ(result.err, PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(result.out.out_flags, effect().OutFlags());
    EXPECT_LEDGER_BALANCED(host);
}

TEST_F(ParamsUiTest, UpdateParamsUiDoesNothingInPremiereOrWithoutGlobalData) {
    ASSERT_EQ(SendParamsSetup().err, PF_Err_NONE);
    host::InstanceSettings settings = effect().Settings();
    settings.applicationId = PF_APPL_ID_PREMIERE;
    effect().SetSettings(settings);
    const long acquisitions = host.faults().Calls("AcquireSuite");
    host::CommandResult result = effect().Send(PF_Cmd_UPDATE_PARAMS_UI);
    EXPECT_EQ(result.err, PF_Err_NONE);
    EXPECT_EQ(result.out.out_flags, effect().OutFlags());
    EXPECT_EQ(host.faults().Calls("AcquireSuite"), acquisitions);

    settings.applicationId = PF_APPL_ID_AFTER_EFFECTS;
    effect().SetSettings(settings);
    ASSERT_EQ(effect().Send(PF_Cmd_GLOBAL_SETDOWN).err, PF_Err_NONE);
    result = effect().Send(PF_Cmd_UPDATE_PARAMS_UI);
    EXPECT_EQ(result.err, PF_Err_NONE);
    EXPECT_EQ(result.out.out_flags, effect().OutFlags());
    EXPECT_TRUE(parameters().UiUpdates().empty());
    EXPECT_LEDGER_BALANCED(host);
}

}  // namespace
}  // namespace quorvel::testing
