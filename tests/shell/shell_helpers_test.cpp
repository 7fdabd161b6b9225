// Small helpers of the shell: the rectangle union, the string table and the global data view.
#include <gtest/gtest.h>

#include "shell/global_data.h"
#include "shell/string_table.h"
#include "shell/union_rect.h"

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

}  // namespace
