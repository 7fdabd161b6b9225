// The replacement host on its own: handles, suites, the ANSI bounds and the ledger.
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host/basic_suite.h"
#include "tests/support/module_host.h"

namespace quorvel::testing {
namespace {

using HostTest = ModuleTest;

template <typename Suite>
const Suite* Acquire(const char* name, A_long version) {
    const void* suite = nullptr;
    host::BasicSuite()->AcquireSuite(name, version, &suite);
    return static_cast<const Suite*>(suite);
}

TEST_F(HostTest, HandlesAndSuitesAndTheLedgerThatShowsWhatIsHeldAndEveryMisuse) {
    const void* missing = &missing;
    EXPECT_EQ(host::BasicSuite()->AcquireSuite("PF Handle Suite", 3, &missing),
              host::kSuiteNotFound);
    EXPECT_EQ(missing, nullptr);
    const auto* handles = Acquire<PF_HandleSuite2>("PF Handle Suite", 2);
    ASSERT_NE(handles, nullptr);
    PF_Handle handle = handles->host_new_handle(16);
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(handles->host_get_handle_size(handle), 16u);
    auto* bytes = static_cast<uint8_t*>(handles->host_lock_handle(handle));
    ASSERT_EQ(bytes, *handle);
    EXPECT_EQ(std::vector<uint8_t>(bytes, bytes + 16), std::vector<uint8_t>(16, 0));
    std::memcpy(bytes, "0123456789abcdef", 16);
    EXPECT_EQ(handles->host_lock_handle(handle), bytes);
    EXPECT_EQ(host.handles().LockCount(handle), 2);
    EXPECT_EQ(host.ledger().Outstanding(),
              (std::map<std::string, long>{{"handle #1 (16 bytes)", 1},
                                           {"lock of handle #1 (16 bytes)", 2},
                                           {"suite PF Handle Suite 2", 1}}));
    for (int unlock = 0; unlock < 3; ++unlock) {
        handles->host_unlock_handle(handle);
    }
    // Resizing keeps the contents and the handle.
    EXPECT_EQ(handles->host_resize_handle(4, &handle), PF_Err_NONE);
    EXPECT_EQ(host.handles().Bytes(handle), (std::vector<uint8_t>{'0', '1', '2', '3'}));
    handles->host_dispose_handle(handle);
    handles->host_dispose_handle(handle);
    // A handle of no size holds no memory.
    PF_Handle empty = handles->host_new_handle(0);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(*empty, nullptr);
    EXPECT_EQ(handles->host_lock_handle(empty), nullptr);
    handles->host_unlock_handle(empty);
    handles->host_dispose_handle(empty);
    host::BasicSuite()->ReleaseSuite("PF Handle Suite", 2);
    host::BasicSuite()->ReleaseSuite("PF Handle Suite", 2);
    EXPECT_TRUE(host.ledger().Outstanding().empty());
    EXPECT_EQ(host.ledger().Misuses(),
              (std::vector<std::string>{
                  "host_unlock_handle of handle #1 (16 bytes), which is not locked",
                  "host_dispose_handle of an unknown or disposed handle",
                  "ReleaseSuite of suite PF Handle Suite 2, which is not acquired"}));
    EXPECT_FALSE(host.ledger().IsBalanced());
    EXPECT_NE(host.ledger().Describe().find("misuse: host_dispose_handle"), std::string::npos);
}

TEST_F(HostTest, AnsiCallsStayInsideTheMessage) {
    const auto* ansi = Acquire<PF_ANSICallbacksSuite1>("PF ANSI Suite", 1);
    ASSERT_NE(ansi, nullptr);
    char buffer[300];
    std::memset(buffer, '#', sizeof(buffer));
    const std::string text(1000, 'a');
    EXPECT_EQ(ansi->sprintf(buffer, "%s", text.c_str()), 255);
    EXPECT_EQ(std::strlen(buffer), 255u);
    EXPECT_EQ(buffer[256], '#');
    std::memset(buffer, '#', sizeof(buffer));
    EXPECT_EQ(ansi->strcpy(buffer, text.c_str()), buffer);
    EXPECT_EQ(std::strlen(buffer), 255u);
    EXPECT_EQ(buffer[256], '#');
    EXPECT_EQ(ansi->sprintf(buffer, "%s v%d.%d", "Quorvel", 1, 0), 12);
    EXPECT_STREQ(buffer, "Quorvel v1.0");
    EXPECT_EQ(host::BasicSuite()->ReleaseSuite("PF ANSI Suite", 1), kSPNoError);
    EXPECT_LEDGER_BALANCED(host);
}

}  // namespace
}  // namespace quorvel::testing
