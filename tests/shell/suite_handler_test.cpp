#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "shell/toolkit/errors.h"
#include "shell/toolkit/locked_handle.h"
#include "shell/toolkit/suite_handler.h"
#include "tests/support/recording_basic_suite.h"

namespace quorvel::testing {
namespace {

int unlocks = 0;
bool lockGivesNull = false;
void* Lock(PF_Handle h) {
    return lockGivesNull ? nullptr : *h;
}
void Unlock(PF_Handle) {
    ++unlocks;
}
const PF_HandleSuite2 kHandleSuite = {nullptr, &Lock, &Unlock, nullptr, nullptr, nullptr};

class SuiteHandlerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        unlocks = 0;
        lockGivesNull = false;
        basic.Serve("PF Handle Suite", 2, &kHandleSuite);
    }

    RecordingBasicSuite basic;
};

TEST_F(SuiteHandlerTest, AcquiresOnceAndReleasesOnce) {
    {
        SuiteHandler suites(basic.suite());
        EXPECT_EQ(suites.HandleSuite2(), &kHandleSuite);
        EXPECT_EQ(suites.HandleSuite2(), &kHandleSuite);
    }
    EXPECT_EQ(basic.calls(),
              (std::vector<std::string>{"acquire PF Handle Suite 2", "release PF Handle Suite 2"}));
    { SuiteHandler unused(basic.suite()); }
    EXPECT_EQ(basic.calls().size(), 2u);
}

TEST_F(SuiteHandlerTest, MissingSuitesRaiseBadCallbackParamAndAreNotReleased) {
    EXPECT_THROW(SuiteHandler(nullptr), HostCode);
    {
        SuiteHandler suites(basic.suite());
        // A null table with a success code counts as failure.
        basic.AnswerWith("PF ANSI Suite", 1, kSPNoError);
        try {
            suites.ANSISuite1();
            FAIL() << "no exception";
        } catch (const HostCode& failure) {
            EXPECT_EQ(failure.code, 516);
        }
        // An error code with a table counts as failure too.
        basic.AnswerWith("PF Handle Suite", 2, 1);
        EXPECT_THROW(suites.HandleSuite2(), HostCode);
    }
    for (const std::string& call : basic.calls()) {
        EXPECT_EQ(call.rfind("release", 0), std::string::npos) << call;
    }
}

TEST_F(SuiteHandlerTest, LockedHandleUnlocksEvenWhenTheLockFailed) {
    int storage = 7;
    void* master = &storage;
    PF_Handle handle = &master;
    SuiteHandler suites(basic.suite());
    {
        LockedHandle locked(&suites, handle);
        EXPECT_EQ(locked.As<int>(), &storage);
    }
    EXPECT_EQ(unlocks, 1);
    lockGivesNull = true;
    {
        LockedHandle locked(&suites, handle);
        try {
            locked.Get();
            FAIL() << "no exception";
        } catch (const HostCode&) {
            FAIL() << "must not be caught as a HostCode";
        } catch (const ReportedAsOutOfMemory& failure) {
            EXPECT_EQ(failure.Code(), PF_Err_OUT_OF_MEMORY);
            EXPECT_EQ(failure.cause, PF_Err_OUT_OF_MEMORY);
        }
    }
    EXPECT_EQ(unlocks, 2);
}

}  // namespace
}  // namespace quorvel::testing
