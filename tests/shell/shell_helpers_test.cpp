// Small helpers of the shell: the rectangle union, the string table, the global data view and
// what GLOBAL_SETDOWN disposes after its OpenGL teardown.
#include <vector>

#include <gtest/gtest.h>

#include "shell/global_commands.h"
#include "shell/string_table.h"
#include "shell/toolkit/global_data.h"
#include "shell/union_rect.h"
#include "tests/support/recording_basic_suite.h"

namespace {

void ExpectUnion(PF_LRect source, PF_LRect target, PF_LRect expected) {
    UnionRect(&source, &target);
    EXPECT_EQ(target.left, expected.left);
    EXPECT_EQ(target.top, expected.top);
    EXPECT_EQ(target.right, expected.right);
    EXPECT_EQ(target.bottom, expected.bottom);
}

TEST(UnionRectTest, JoinsAndIgnoresEmptyRectangles) {
    ExpectUnion({0, 0, 10, 10}, {0, 0, 0, 0}, {0, 0, 10, 10});
    ExpectUnion({5, 5, 5, 9}, {2, 2, 4, 4}, {2, 2, 4, 4});
    ExpectUnion({0, 5, 3, 9}, {2, 2, 4, 4}, {0, 2, 4, 9});
    // An empty target takes the source as it is, empty or not.
    ExpectUnion({7, 7, 3, 3}, {4, 4, 4, 9}, {7, 7, 3, 3});
    // Empty by either axis.
    ExpectUnion({0, 0, 100, 100}, {2, 9, 4, 9}, {0, 0, 100, 100});
    ExpectUnion({-2147483647 - 1, -5, 2147483647, 5}, {0, 0, 1, 1},
                {-2147483647 - 1, -5, 2147483647, 5});
}

TEST(StringTableTest, NameDescriptionAndOutOfRangeIds) {
    EXPECT_STREQ(LookupString(0), "");
    EXPECT_STREQ(LookupString(1), "Quorvel");
    EXPECT_STRNE(LookupString(2), "");
    EXPECT_STREQ(LookupString(11), "");
    EXPECT_STREQ(LookupString(0xFFFFFFFFu), "");
}

TEST(GetGlobalDataTest, ReadsThroughTheMasterPointerOrGivesNull) {
    PF_InData in = {};
    EXPECT_EQ(GetGlobalData(&in), nullptr);
    void* master = nullptr;
    in.global_data = &master;
    EXPECT_EQ(GetGlobalData(&in), nullptr);
    GlobalData global = {123};
    master = &global;
    ASSERT_EQ(GetGlobalData(&in), &global);
    EXPECT_EQ(GetGlobalData(&in)->pluginId, 123u);
}

std::vector<PF_Handle> disposed;

void Dispose(PF_Handle handle) {
    disposed.push_back(handle);
}

TEST(GlobalSetdownTest, AFailedTeardownKeepsTheGlobalDataButNotTheSequenceData) {
    quorvel::testing::RecordingBasicSuite basic;
    PF_HandleSuite2 handles = {};
    handles.host_dispose_handle = &Dispose;
    basic.Serve(kPFHandleSuite, kPFHandleSuiteVersion2, &handles);
    PF_InData in = basic.InData();
    in.utils->host_dispose_handle = &Dispose;
    void* global = nullptr;
    void* sequence = nullptr;
    in.global_data = &global;
    in.sequence_data = &sequence;
    for (const PF_Err teardown : {PF_Err_OUT_OF_MEMORY, PF_Err_NONE}) {
        disposed.clear();
        PF_OutData out = {};
        out.sequence_data = in.sequence_data;
        EXPECT_EQ(FinishGlobalSetdown(&in, &out, teardown), teardown);
        EXPECT_EQ(out.sequence_data, nullptr);
        const std::vector<PF_Handle> expected =
            teardown != PF_Err_NONE ? std::vector<PF_Handle>{&sequence}
                                    : std::vector<PF_Handle>{&global, &sequence};
        EXPECT_EQ(disposed, expected) << teardown;
    }
}

}  // namespace
