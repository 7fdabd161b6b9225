// Suites acquired outside the cache: AEFX_AcquireSuite, AEFX_ReleaseSuite and the Drawbot
// record, with the messages they post when the host cannot serve.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "shell/toolkit/aefx_suite.h"
#include "shell/toolkit/drawbot_suites.h"
#include "tests/support/recording_basic_suite.h"

namespace quorvel::testing {
namespace {

const char kAcquireMessage[] = "Not able to acquire AEFX Suite.";
const char kReleaseMessage[] = "Not able to release AEFX Suite.";

// Distinct tables to tell the suites apart.
const DRAWBOT_DrawbotSuite1 kDraw = {};
const DRAWBOT_SupplierSuite1 kSupplier = {};
const DRAWBOT_SurfaceSuite2 kSurface = {};
const DRAWBOT_PathSuite1 kPath = {};

class AefxSuiteTest : public ::testing::Test {
  protected:
    void ServeDrawbot(bool withSurface) {
        basic.Serve("DRAWBOT Draw Suite", 1, &kDraw);
        basic.Serve("DRAWBOT Supplier Suite", 1, &kSupplier);
        if (withSurface) {
            basic.Serve("DRAWBOT Surface Suite", 2, &kSurface);
        }
        basic.Serve("DRAWBOT Path Suite", 1, &kPath);
    }

    RecordingBasicSuite basic;
    PF_InData in = basic.InData();
    PF_OutData out = {};
};

TEST_F(AefxSuiteTest, AcquireDecidesByThePointerAlone) {
    const PF_ANSICallbacksSuite1 ansi = {};
    basic.Serve("PF ANSI Suite", 1, &ansi);
    const void* suite = nullptr;
    EXPECT_EQ(AEFX_AcquireSuite(&in, &out, "PF ANSI Suite", 1, nullptr, &suite), PF_Err_NONE);
    EXPECT_EQ(suite, &ansi);
    // An error code with a table is still success here.
    basic.AnswerWith("PF ANSI Suite", 1, 5);
    EXPECT_EQ(AEFX_AcquireSuite(&in, &out, "PF ANSI Suite", 1, nullptr, &suite), PF_Err_NONE);
    EXPECT_EQ(out.out_flags, 0);
    // Success without a table is failure.
    basic.AnswerWith("PF World Suite", 2, kSPNoError);
    EXPECT_EQ(AEFX_AcquireSuite(&in, &out, "PF World Suite", 2, nullptr, &suite),
              PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(suite, nullptr);
    EXPECT_STREQ(out.return_msg, kAcquireMessage);
    EXPECT_EQ(out.out_flags, PF_OutFlag_DISPLAY_ERROR_MESSAGE);
    // The caller's own message wins.
    EXPECT_EQ(AEFX_AcquireSuite(&in, &out, "PF World Suite", 2, "No world suite.", &suite),
              PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_STREQ(out.return_msg, "No world suite.");
}

TEST_F(AefxSuiteTest, WithoutABasicSuiteBothPostTheirDefaultMessage) {
    in.pica_basicP = nullptr;
    const void* suite = &kDraw;
    EXPECT_EQ(AEFX_AcquireSuite(&in, &out, "PF ANSI Suite", 1, nullptr, &suite),
              PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(suite, nullptr);
    EXPECT_STREQ(out.return_msg, kAcquireMessage);
    out = {};
    EXPECT_EQ(AEFX_ReleaseSuite(&in, &out, "PF ANSI Suite", 1, nullptr), PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_STREQ(out.return_msg, kReleaseMessage);
    EXPECT_EQ(out.out_flags, PF_OutFlag_DISPLAY_ERROR_MESSAGE);
    // The Drawbot release posts the message but still reports success.
    out = {};
    EXPECT_EQ(AEFX_ReleaseDrawbotSuites(&in, &out), PF_Err_NONE);
    EXPECT_STREQ(out.return_msg, kReleaseMessage);
    EXPECT_TRUE(basic.calls().empty());
}

TEST_F(AefxSuiteTest, DrawbotSuitesAreAcquiredAndReleasedInOrder) {
    ServeDrawbot(true);
    DrawbotSuites suites = {};
    EXPECT_EQ(AEFX_AcquireDrawbotSuites(&in, &out, &suites), PF_Err_NONE);
    EXPECT_EQ(suites.drawSuite, &kDraw);
    EXPECT_EQ(suites.supplierSuite, &kSupplier);
    EXPECT_EQ(suites.surfaceSuite, &kSurface);
    EXPECT_EQ(suites.pathSuite, &kPath);
    EXPECT_EQ(AEFX_ReleaseDrawbotSuites(&in, &out), PF_Err_NONE);
    EXPECT_EQ(basic.calls(),
              (std::vector<std::string>{
                  "acquire DRAWBOT Draw Suite 1", "acquire DRAWBOT Supplier Suite 1",
                  "acquire DRAWBOT Surface Suite 2", "acquire DRAWBOT Path Suite 1",
                  "release DRAWBOT Draw Suite 1", "release DRAWBOT Supplier Suite 1",
                  "release DRAWBOT Surface Suite 2", "release DRAWBOT Path Suite 1"}));
    EXPECT_EQ(out.out_flags, 0);
}

TEST_F(AefxSuiteTest, AMissingDrawbotSuiteStopsTheAcquisition) {
    ServeDrawbot(false);
    DrawbotSuites suites = {};
    EXPECT_EQ(AEFX_AcquireDrawbotSuites(&in, &out, &suites), PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(basic.calls(), (std::vector<std::string>{"acquire DRAWBOT Draw Suite 1",
                                                       "acquire DRAWBOT Supplier Suite 1",
                                                       "acquire DRAWBOT Surface Suite 2"}));
    EXPECT_STREQ(out.return_msg, kAcquireMessage);
    EXPECT_EQ(out.out_flags, PF_OutFlag_DISPLAY_ERROR_MESSAGE);
    EXPECT_EQ(suites.drawSuite, &kDraw);
    EXPECT_EQ(suites.supplierSuite, &kSupplier);
    EXPECT_EQ(suites.pathSuite, nullptr);

    // Releasing by the record gives back exactly the two that were acquired.
    EXPECT_EQ(AEFX_ReleaseDrawbotSuites(&in, &out, &suites), PF_Err_NONE);
    EXPECT_EQ(std::vector<std::string>(basic.calls().begin() + 3, basic.calls().end()),
              (std::vector<std::string>{"release DRAWBOT Draw Suite 1",
                                        "release DRAWBOT Supplier Suite 1"}));
    EXPECT_EQ(suites.drawSuite, nullptr);
    EXPECT_EQ(suites.supplierSuite, nullptr);
}

TEST_F(AefxSuiteTest, ANullDrawbotRecordIsRefused) {
    EXPECT_EQ(AEFX_AcquireDrawbotSuites(&in, &out, nullptr), PF_Err_UNRECOGNIZED_PARAM_TYPE);
    EXPECT_STREQ(out.return_msg, "NULL suite pointer passed to AEFX_AcquireDrawbotSuites");
    EXPECT_EQ(out.out_flags, PF_OutFlag_DISPLAY_ERROR_MESSAGE);
    EXPECT_TRUE(basic.calls().empty());
}

}  // namespace
}  // namespace quorvel::testing
