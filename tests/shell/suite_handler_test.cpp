#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "shell/exception.h"
#include "shell/locked_handle.h"
#include "shell/suite_handler.h"

namespace {

// A basic suite that records every call and serves one handle suite whose lock can fail.
struct FakeBasic {
    static std::vector<std::string> calls;
    static bool lockGivesNull;
    static bool acquireErrorWithSuite;
    static int unlocks;

    static SPErr Acquire(const char* name, A_long version, const void** suite) {
        calls.push_back(std::string("acquire ") + name + " " + std::to_string(version));
        if (std::strcmp(name, "PF Handle Suite") == 0 && version == 2) {
            *suite = &handleSuite;
            return acquireErrorWithSuite ? 1 : 0;
        }
        *suite = nullptr;
        return 0;
    }
    static SPErr Release(const char* name, A_long version) {
        calls.push_back(std::string("release ") + name + " " + std::to_string(version));
        return 0;
    }
    static void* Lock(PF_Handle h) { return lockGivesNull ? nullptr : *h; }
    static void Unlock(PF_Handle) { ++unlocks; }

    static PF_HandleSuite2 handleSuite;
    static SPBasicSuite basic;
};
std::vector<std::string> FakeBasic::calls;
bool FakeBasic::lockGivesNull = false;
bool FakeBasic::acquireErrorWithSuite = false;
int FakeBasic::unlocks = 0;
PF_HandleSuite2 FakeBasic::handleSuite = {nullptr, &FakeBasic::Lock, &FakeBasic::Unlock,
                                          nullptr, nullptr, nullptr};
SPBasicSuite FakeBasic::basic = {&FakeBasic::Acquire, &FakeBasic::Release, nullptr, nullptr,
                                 nullptr, nullptr, nullptr};

class SuiteHandlerTest : public testing::Test {
protected:
    void SetUp() override {
        FakeBasic::calls.clear();
        FakeBasic::lockGivesNull = false;
        FakeBasic::acquireErrorWithSuite = false;
        FakeBasic::unlocks = 0;
    }
};

TEST_F(SuiteHandlerTest, AcquiresOnceAndReleasesOnce) {
    {
        SuiteHandler suites(&FakeBasic::basic);
        EXPECT_EQ(suites.HandleSuite2(), &FakeBasic::handleSuite);
        EXPECT_EQ(suites.HandleSuite2(), &FakeBasic::handleSuite);
    }
    EXPECT_EQ(FakeBasic::calls, (std::vector<std::string>{"acquire PF Handle Suite 2",
                                                           "release PF Handle Suite 2"}));
    FakeBasic::calls.clear();
    { SuiteHandler unused(&FakeBasic::basic); }
    EXPECT_TRUE(FakeBasic::calls.empty());
}

TEST_F(SuiteHandlerTest, MissingSuitesRaiseInt516AndAreNotReleased) {
    EXPECT_THROW(SuiteHandler(nullptr), int);
    {
        SuiteHandler suites(&FakeBasic::basic);
        // A null table with a success code counts as failure.
        try {
            suites.ANSISuite1();
            FAIL() << "no exception";
        } catch (int code) {
            EXPECT_EQ(code, 516);
        }
        // An error code with a table counts as failure too.
        FakeBasic::acquireErrorWithSuite = true;
        EXPECT_THROW(suites.HandleSuite2(), int);
    }
    for (const std::string& call : FakeBasic::calls) {
        EXPECT_EQ(call.rfind("release", 0), std::string::npos) << call;
    }
}

TEST_F(SuiteHandlerTest, LockedHandleUnlocksEvenWhenTheLockFailed) {
    int storage = 7;
    void* master = &storage;
    PF_Handle handle = &master;
    SuiteHandler suites(&FakeBasic::basic);
    {
        LockedHandle locked(&suites, handle);
        EXPECT_EQ(locked.As<int>(), &storage);
    }
    EXPECT_EQ(FakeBasic::unlocks, 1);
    FakeBasic::lockGivesNull = true;
    {
        LockedHandle locked(&suites, handle);
        try {
            locked.Get();
            FAIL() << "no exception";
        } catch (int) {
            FAIL() << "must not be caught as int";
        } catch (PF_ErrorCode code) {
            EXPECT_EQ(code, PF_Err_OUT_OF_MEMORY);
        }
    }
    EXPECT_EQ(FakeBasic::unlocks, 2);
}

TEST(ExceptionTest, CarriesCodeAndMessage) {
    const Exception empty(4);
    EXPECT_EQ(empty.err, 4);
    EXPECT_STREQ(empty.what(), "");
    const Exception withMessage(512, "broken");
    const Exception copy(withMessage);
    EXPECT_EQ(copy.err, 512);
    EXPECT_STREQ(copy.what(), "broken");
}

}  // namespace
