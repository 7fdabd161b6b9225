// GLOBAL_SETUP and GLOBAL_SETDOWN with their OpenGL parts: through the built module, and
// through the command dispatch in this process, where render data can be made as a render
// thread makes them.

#include <gtest/gtest.h>

#include <string>

#include "gl/render_data_registry.h"
#include "platform/testing.h"
#include "shell/command_switch.h"
#include "tests/gl/gl_test_support.h"
#include "tests/support/module_host.h"

namespace {

using platform_testing::PlatformCall;
using quorvel::testing::ModuleTest;

using ModuleGlobalCommands = ModuleTest;

TEST_F(ModuleGlobalCommands, SetupStartsOpenGLAndSetdownTearsItDownTwiceOver) {
    QUORVEL_REQUIRE_GL();
    testing::internal::CaptureStdout();
    const quorvel::host::CommandResult setup = effect().Send(PF_Cmd_GLOBAL_SETUP);
    const std::string printed = testing::internal::GetCapturedStdout();
    ASSERT_EQ(setup.err, PF_Err_NONE);
    EXPECT_NE(printed.find("\nOpenGL Version:  "), std::string::npos) << printed;
    EXPECT_NE(effect().GlobalData(), nullptr);

    EXPECT_EQ(effect().Send(PF_Cmd_GLOBAL_SETDOWN).err, PF_Err_NONE);
    EXPECT_EQ(host.handles().LiveCount(), 0u);
    EXPECT_EQ(effect().Send(PF_Cmd_GLOBAL_SETDOWN).err, PF_Err_NONE);
    EXPECT_LEDGER_BALANCED(host);
}

TEST_F(ModuleGlobalCommands, SetdownAfterAFailedSetupSucceeds) {
    QUORVEL_REQUIRE_GL();
    // The OpenGL part succeeds, the global data does not.
    host.faults().NullCall("host_new_handle", 1);
    testing::internal::CaptureStdout();
    const quorvel::host::CommandResult setup = effect().Send(PF_Cmd_GLOBAL_SETUP);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(setup.err, PF_Err_INTERNAL_STRUCT_DAMAGED);
    EXPECT_EQ(setup.out.out_flags2, 0x8801401);
    EXPECT_EQ(effect().Send(PF_Cmd_GLOBAL_SETDOWN).err, PF_Err_NONE);
    EXPECT_LEDGER_BALANCED(host);
}

class DispatchedGlobalCommands : public ::testing::Test {
  protected:
    void SetUp() override {
        QUORVEL_REQUIRE_GL();
        platform_testing::Reset();
    }
    void TearDown() override { platform_testing::Reset(); }

    PF_Err Send(PF_Cmd cmd) {
        out = PF_OutData{};
        return RunCommand({cmd, &in, &out, nullptr, nullptr, nullptr});
    }

    PF_InData in = {};
    PF_OutData out = {};
};

TEST_F(DispatchedGlobalCommands, SetdownDestroysRenderDataOfEndedThreads) {
    const gl_test::HostContext host;
    const int contextsBefore = platform_testing::LiveContextCount();
    ASSERT_EQ(CreateSharedGLData(&in), PF_Err_NONE);
    const auto watched = gl_test::RenderOnEndedThread(64, 64);

    EXPECT_EQ(Send(PF_Cmd_GLOBAL_SETDOWN), PF_Err_NONE);
    EXPECT_TRUE(watched.expired());
    EXPECT_FALSE(s_sharedGLData);
    EXPECT_EQ(platform_testing::LiveContextCount(), contextsBefore);
    EXPECT_TRUE(host.IsCurrent());
    EXPECT_EQ(Send(PF_Cmd_GLOBAL_SETDOWN), PF_Err_NONE);
}

TEST_F(DispatchedGlobalCommands, AFailedOpenGLStartEndsSetupWithItsCode) {
    const gl_test::HostContext host;
    platform_testing::FailCall(PlatformCall::ChoosePixelFormat);
    // The code comes before the global data is made, so no basic suite is needed here.
    EXPECT_EQ(Send(PF_Cmd_GLOBAL_SETUP), PF_Err_OUT_OF_MEMORY);
    EXPECT_EQ(out.my_version, 0x80600u);
    EXPECT_EQ(out.out_flags, 0x6008454);
    EXPECT_EQ(out.out_flags2, 0x8801401);
    EXPECT_TRUE(host.IsCurrent());
    EXPECT_EQ(Send(PF_Cmd_GLOBAL_SETDOWN), PF_Err_NONE);
    EXPECT_EQ(Send(PF_Cmd_GLOBAL_SETDOWN), PF_Err_NONE);
    EXPECT_TRUE(host.IsCurrent());
}

}  // namespace
