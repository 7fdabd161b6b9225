// GLOBAL_SETUP and GLOBAL_SETDOWN through the module: the version and flag words, the
// global-data handle with the AEGP plug-in id, and every way its making can fail.
#include <cstring>
#include <vector>

#include <gtest/gtest.h>

#include "host/suites/utility_suite.h"
#include "tests/support/module_host.h"

namespace quorvel::testing {
namespace {

using GlobalDataTest = ModuleTest;

void ExpectVersionAndFlags(const host::CommandResult& result) {
    EXPECT_EQ(result.out.my_version, 0x80600u);
    EXPECT_EQ(result.out.out_flags, 0x6008454);
    EXPECT_EQ(result.out.out_flags2, 0x8801401);
}

TEST_F(GlobalDataTest, SetupRegistersForAnAegpIdAndSetdownDisposesEverything) {
    const host::CommandResult result = effect().Send(PF_Cmd_GLOBAL_SETUP);
    ASSERT_EQ(result.err, PF_Err_NONE);
    ExpectVersionAndFlags(result);
    EXPECT_EQ(result.Message(), "");
    ASSERT_NE(effect().GlobalData(), nullptr);
    const auto registrations = host.State<host::AegpRegistrations>().Entries();
    ASSERT_EQ(registrations.size(), 1u);
    EXPECT_EQ(registrations[0].name, "Quorvel");
    const std::vector<uint8_t> global = host.handles().Bytes(effect().GlobalData());
    ASSERT_EQ(global.size(), 4u);
    AEGP_PluginID id = 0;
    std::memcpy(&id, global.data(), sizeof(id));
    EXPECT_EQ(id, registrations[0].id);
    EXPECT_EQ(host.handles().LockCount(effect().GlobalData()), 0);
    EXPECT_LEDGER_BALANCED(host);

    ASSERT_EQ(effect().Send(PF_Cmd_SEQUENCE_SETUP).err, PF_Err_NONE);
    // GLOBAL_SETDOWN disposes the global data and a sequence record still present.
    EXPECT_EQ(effect().Send(PF_Cmd_GLOBAL_SETDOWN).err, PF_Err_NONE);
    EXPECT_EQ(host.handles().LiveCount(), 0u);
    EXPECT_LEDGER_BALANCED(host);
}

TEST_F(GlobalDataTest, PremiereGetsTheHandleWithoutARegistration) {
    host::InstanceSettings settings = effect().Settings();
    settings.applicationId = PF_FOUR_CHAR('P', 'r', 'M', 'r');
    effect().SetSettings(settings);
    const host::CommandResult result = effect().Send(PF_Cmd_GLOBAL_SETUP);
    ASSERT_EQ(result.err, PF_Err_NONE);
    ExpectVersionAndFlags(result);
    EXPECT_EQ(host.faults().Calls("AEGP_RegisterWithAEGP"), 0);
    EXPECT_EQ(host.handles().Bytes(effect().GlobalData()), std::vector<uint8_t>(4, 0));
    EXPECT_LEDGER_BALANCED(host);
    EXPECT_EQ(effect().Send(PF_Cmd_GLOBAL_SETDOWN).err, PF_Err_NONE);
    EXPECT_LEDGER_BALANCED(host);
}

TEST_F(GlobalDataTest, FailedStepsKeepTheFlagsAndLeaveNoHandleBehind) {
    struct Case {
        const char* what;
        void (*inject)(host::Faults& faults);
        PF_Err expected;
    };
    const Case cases[] = {
        {"no handle", [](host::Faults& faults) { faults.NullCall("host_new_handle", 1); },
         PF_Err_INTERNAL_STRUCT_DAMAGED},
        {"registration refused",
         [](host::Faults& faults) { faults.FailCall("AEGP_RegisterWithAEGP", 1, 7); }, 7},
        {"no utility suite",
         [](host::Faults& faults) { faults.MakeSuiteUnavailable("AEGP Utility Suite", 7); },
         PF_Err_BAD_CALLBACK_PARAM},
        {"no handle suite",
         [](host::Faults& faults) { faults.MakeSuiteUnavailable("PF Handle Suite"); },
         PF_Err_BAD_CALLBACK_PARAM},
        // A lock that gives nothing would leave the effect without global data for the whole
        // session: the command fails.
        {"lock gives nothing", [](host::Faults& faults) { faults.NullCall("host_lock_handle", 1); },
         PF_Err_OUT_OF_MEMORY},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        host.faults().Clear();
        c.inject(host.faults());
        const host::CommandResult result = effect().Send(PF_Cmd_GLOBAL_SETUP);
        EXPECT_EQ(result.err, c.expected);
        ExpectVersionAndFlags(result);
        EXPECT_EQ(result.out.global_data, nullptr);
        EXPECT_EQ(effect().GlobalData(), nullptr);
        EXPECT_EQ(result.Message(), "");
        EXPECT_EQ(host.handles().LiveCount(), 0u);
        EXPECT_LEDGER_BALANCED(host);
        // GLOBAL_SETDOWN without global data has nothing to do.
        EXPECT_EQ(effect().Send(PF_Cmd_GLOBAL_SETDOWN).err, PF_Err_NONE);
        EXPECT_LEDGER_BALANCED(host);
    }
}

}  // namespace
}  // namespace quorvel::testing
