#include <cstring>
#include <vector>

#include <gtest/gtest.h>

#include "shell/exception.h"
#include "shell/param_index.h"
#include "shell/params_setup.h"
#include "shell/params_ui.h"
#include "tests/shell/fake_effect_host.h"

namespace {

// The host's side of the parameter UI: the definitions it passes with UPDATE_PARAMS_UI, kept
// up to date with what the effect sends through PF_UpdateParamUI.
class ParamsUiTest : public testing::Test {
  protected:
    void SetUp() override {
        ParamsSetup(&host.in_data, &host.out_data);
        defs.assign(PARAM_COUNT, PF_ParamDef{});
        for (int index = 1; index < PARAM_COUNT; ++index) {
            defs[index] = host.added[index - 1];
        }
        for (PF_ParamDef& def : defs) {
            params.push_back(&def);
        }
        host.in_data.global_data = &globalMaster;
        host.in_data.num_params = PARAM_COUNT;
    }

    // One UPDATE_PARAMS_UI; returns the indices sent and applies them to the host's copy.
    std::vector<A_long> Update(A_long stripsEnable) {
        defs[PARAM_STRIPS_ENABLE].u.bd.value = stripsEnable;
        host.updates.clear();
        host.out_data.out_flags = PF_OutFlag_CUSTOM_UI;
        UpdateParamsUI(&host.in_data, &host.out_data, params.data());
        std::vector<A_long> sent;
        for (const auto& update : host.updates) {
            ExpectDiffersOnlyInTheTwoBits(defs[update.first], update.second);
            defs[update.first] = update.second;
            sent.push_back(update.first);
        }
        EXPECT_EQ(host.Unreleased(), 0);
        return sent;
    }

    static void ExpectDiffersOnlyInTheTwoBits(PF_ParamDef before, PF_ParamDef after) {
        EXPECT_NE(before.ui_flags & PF_PUI_DISABLED, after.ui_flags & PF_PUI_DISABLED);
        EXPECT_NE(after.flags & PF_ParamFlag_COLLAPSE_TWIRLY, 0);
        before.ui_flags &= ~PF_PUI_DISABLED;
        after.ui_flags &= ~PF_PUI_DISABLED;
        before.flags &= ~PF_ParamFlag_COLLAPSE_TWIRLY;
        after.flags &= ~PF_ParamFlag_COLLAPSE_TWIRLY;
        EXPECT_EQ(std::memcmp(&before, &after, sizeof before), 0);
    }

    bool ForcesRerender() const {
        return (host.out_data.out_flags & PF_OutFlag_FORCE_RERENDER) != 0;
    }

    FakeEffectHost host;
    int globalStorage = 0;
    void* globalMaster = &globalStorage;
    std::vector<PF_ParamDef> defs;
    std::vector<PF_ParamDef*> params;
};

const std::vector<A_long> kAllFour = {PARAM_STRIPS_COUNT, PARAM_STRIPS_RANDOM_FACTOR,
                                      PARAM_STRIPS_RANDOM_SEED, PARAM_STRIPS_DISTRIBUTION};

TEST_F(ParamsUiTest, SendsAllFourOnceThenNothingThenOnlyWhatDiffers) {
    EXPECT_EQ(Update(0), kAllFour);
    EXPECT_TRUE(ForcesRerender());
    EXPECT_EQ(host.out_data.out_flags & ~PF_OutFlag_FORCE_RERENDER, PF_OutFlag_CUSTOM_UI);
    for (A_long index : kAllFour) {
        EXPECT_NE(defs[index].ui_flags & PF_PUI_DISABLED, 0);
    }

    EXPECT_TRUE(Update(0).empty());
    EXPECT_FALSE(ForcesRerender());
    EXPECT_EQ(host.out_data.out_flags, PF_OutFlag_CUSTOM_UI);

    // The user re-enabled one parameter in the host by other means: only it is sent.
    defs[PARAM_STRIPS_RANDOM_SEED].ui_flags &= ~PF_PUI_DISABLED;
    EXPECT_EQ(Update(0), std::vector<A_long>{PARAM_STRIPS_RANDOM_SEED});
    EXPECT_TRUE(ForcesRerender());

    EXPECT_EQ(Update(1), kAllFour);
    for (A_long index : kAllFour) {
        EXPECT_EQ(defs[index].ui_flags & PF_PUI_DISABLED, 0);
    }
    EXPECT_TRUE(Update(1).empty());

    // Only the value 1 enables: 256 has a zero low byte, 2 is not on either.
    EXPECT_EQ(Update(256), kAllFour);
    EXPECT_TRUE(Update(2).empty());
}

TEST_F(ParamsUiTest, PremiereAndMissingGlobalDataChangeNothing) {
    host.in_data.appl_id = static_cast<A_long>(PF_APPL_ID_PREMIERE);
    EXPECT_TRUE(Update(0).empty());
    EXPECT_EQ(host.out_data.out_flags, PF_OutFlag_CUSTOM_UI);
    EXPECT_TRUE(host.acquired.count("PF Param Utils Suite 3") == 0);

    host.in_data.appl_id = static_cast<A_long>(PF_APPL_ID_AFTER_EFFECTS);
    host.in_data.global_data = nullptr;
    EXPECT_TRUE(Update(0).empty());
    void* emptyMaster = nullptr;
    host.in_data.global_data = &emptyMaster;
    EXPECT_TRUE(Update(0).empty());
    EXPECT_EQ(host.out_data.out_flags, PF_OutFlag_CUSTOM_UI);
    EXPECT_TRUE(host.acquired.count("PF Param Utils Suite 3") == 0);
}

TEST_F(ParamsUiTest, HostFailuresStopTheUpdateWithoutForcingARender) {
    host.failUpdateAt = 1;
    defs[PARAM_STRIPS_ENABLE].u.bd.value = 0;
    host.out_data.out_flags = 0;
    try {
        UpdateParamsUI(&host.in_data, &host.out_data, params.data());
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.err, PF_Err_INTERNAL_STRUCT_DAMAGED);
    }
    EXPECT_EQ(host.updates.size(), 2u);
    EXPECT_EQ(host.out_data.out_flags, 0);
    EXPECT_EQ(host.Unreleased(), 0);

    host.unavailableSuites = {"PF Param Utils Suite 3"};
    EXPECT_THROW(UpdateParamsUI(&host.in_data, &host.out_data, params.data()), int);
    EXPECT_EQ(host.out_data.out_flags, 0);

    // A host that passes no parameter array, or one too short, gets an error, not a crash.
    host.unavailableSuites.clear();
    EXPECT_THROW(UpdateParamsUI(&host.in_data, &host.out_data, nullptr), Exception);
    host.in_data.num_params = PARAM_COUNT - 1;
    EXPECT_THROW(UpdateParamsUI(&host.in_data, &host.out_data, params.data()), Exception);
    EXPECT_EQ(host.updates.size(), 2u);
    EXPECT_EQ(host.Unreleased(), 0);
}

TEST_F(ParamsUiTest, SetParamEnabledReportsWhetherItSent) {
    SuiteHandler suites(host.in_data.pica_basicP);
    EXPECT_FALSE(SetParamEnabled(&host.in_data, params.data(), &suites, PARAM_STRIPS_COUNT, true));
    EXPECT_TRUE(host.updates.empty());
    EXPECT_TRUE(SetParamEnabled(&host.in_data, params.data(), &suites, PARAM_STRIPS_COUNT, false));
    ASSERT_EQ(host.updates.size(), 1u);
    EXPECT_EQ(host.updates[0].second.ui_flags, PF_PUI_DISABLED);
    EXPECT_EQ(host.updates[0].second.flags, PF_ParamFlag_COLLAPSE_TWIRLY);
    // The host's own definition is left alone.
    EXPECT_EQ(defs[PARAM_STRIPS_COUNT].ui_flags, 0);
}

}  // namespace
