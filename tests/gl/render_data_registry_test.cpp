// The render data registry and GLOBAL_SETDOWN's teardown thread. The registry itself needs no
// OpenGL: render data without a context are made and destroyed without one.

#include <gtest/gtest.h>

#include <future>
#include <memory>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include "gl/render_data_registry.h"
#include "platform/testing.h"
#include "tests/gl/gl_test_support.h"

namespace {

using AESDK_OpenGL::AESDK_OpenGL_EffectRenderData;
using platform_testing::PlatformCall;

std::shared_ptr<AESDK_OpenGL_EffectRenderData> AcquireOnNewThread() {
    std::shared_ptr<AESDK_OpenGL_EffectRenderData> acquired;
    std::thread([&acquired] { acquired = AcquireThreadRenderData(); }).join();
    return acquired;
}

std::set<std::int32_t> RegisteredNumbers() {
    std::lock_guard<std::recursive_mutex> lock(s_renderDataMutex);
    std::set<std::int32_t> numbers;
    for (const auto& entry : s_renderDataByThread) {
        numbers.insert(entry.first);
    }
    return numbers;
}

TEST(RenderDataRegistry, EachThreadKeepsItsOwnRenderDataUntilSetdown) {
    const auto mine = AcquireThreadRenderData();
    EXPECT_EQ(AcquireThreadRenderData(), mine);
    EXPECT_FALSE(mine->started);
    EXPECT_EQ(mine->renderContext, nullptr);

    // Threads that come later get the next numbers and render data of their own, kept after
    // their thread has ended.
    const std::set<std::int32_t> before = RegisteredNumbers();
    auto first = AcquireOnNewThread();
    const auto second = AcquireOnNewThread();
    EXPECT_NE(first, mine);
    EXPECT_NE(second, first);
    std::set<std::int32_t> after = RegisteredNumbers();
    ASSERT_EQ(after.size(), before.size() + 2);
    const std::int32_t firstNumber = *std::prev(after.end(), 2);
    EXPECT_EQ(*after.rbegin(), firstNumber + 1);
    EXPECT_EQ(s_renderDataByThread.at(firstNumber), first);

    const std::weak_ptr<AESDK_OpenGL_EffectRenderData> watched = first;
    EXPECT_EQ(DestroyGLDataOnThread(), PF_Err_NONE);
    EXPECT_TRUE(RegisteredNumbers().empty());
    // The registry let go; the last reference here destroys it.
    EXPECT_FALSE(watched.expired());
    first.reset();
    EXPECT_TRUE(watched.expired());

    // After a set-down a thread keeps its number but gets a fresh render data.
    const auto again = AcquireThreadRenderData();
    EXPECT_NE(again, mine);
    EXPECT_EQ(DestroyGLDataOnThread(), PF_Err_NONE);
}

TEST(RenderDataRegistry, ThreadsArrivingTogetherGetDistinctRenderData) {
    constexpr int kThreads = 8;
    std::promise<void> start;
    const std::shared_future<void> go = start.get_future().share();
    std::vector<std::shared_ptr<AESDK_OpenGL_EffectRenderData>> acquired(kThreads);
    std::vector<std::thread> threads;
    for (int index = 0; index < kThreads; ++index) {
        threads.emplace_back([&, index] {
            go.wait();
            acquired[index] = AcquireThreadRenderData();
        });
    }
    start.set_value();
    for (std::thread& thread : threads) {
        thread.join();
    }
    const std::set<std::shared_ptr<AESDK_OpenGL_EffectRenderData>> distinct(acquired.begin(),
                                                                            acquired.end());
    EXPECT_EQ(distinct.size(), static_cast<size_t>(kThreads));
    EXPECT_EQ(RegisteredNumbers().size(), static_cast<size_t>(kThreads));
    acquired.clear();
    EXPECT_EQ(DestroyGLDataOnThread(), PF_Err_NONE);
}

TEST(RenderDataRegistry, SetdownWithNothingSetUpDoesNothing) {
    platform_testing::Reset();
    EXPECT_FALSE(s_sharedGLData);
    EXPECT_EQ(DestroyGLDataOnThread(), PF_Err_NONE);
    EXPECT_EQ(DestroyGLDataOnThread(), PF_Err_NONE);
    EXPECT_EQ(platform_testing::CallCount(PlatformCall::wglDeleteContext), 0);
    EXPECT_EQ(platform_testing::CallCount(PlatformCall::DestroyWindow), 0);
}

class RegistryTeardown : public ::testing::Test {
  protected:
    void SetUp() override {
        QUORVEL_REQUIRE_GL();
        platform_testing::Reset();
    }
    void TearDown() override { platform_testing::Reset(); }
};

TEST_F(RegistryTeardown, SetdownDestroysEverythingOnItsOwnThread) {
    const gl_test::HostContext host;
    const int contextsBefore = platform_testing::LiveContextCount();
    ASSERT_EQ(CreateSharedGLData(nullptr), PF_Err_NONE);
    EXPECT_TRUE(host.IsCurrent());
    // Two render threads that have rendered and ended; their data stay registered.
    const auto watched = gl_test::RenderOnEndedThread(32, 32);
    const auto alsoWatched = gl_test::RenderOnEndedThread(32, 32);
    EXPECT_EQ(platform_testing::LiveContextCount(), contextsBefore + 3);
    const int windowsBefore = platform_testing::LiveWindowCount();

    platform_testing::Reset();
    EXPECT_EQ(DestroyGLDataOnThread(), PF_Err_NONE);
    EXPECT_TRUE(watched.expired());
    EXPECT_TRUE(alsoWatched.expired());
    EXPECT_FALSE(s_sharedGLData);
    EXPECT_EQ(platform_testing::LiveContextCount(), contextsBefore);
    // The render data destructors made their contexts current, but not on this thread.
    EXPECT_EQ(platform_testing::CallCount(PlatformCall::wglDeleteContext), 3);
    // None of the windows was made by the teardown's thread, so none is its to destroy.
    EXPECT_EQ(platform_testing::CallCount(PlatformCall::DestroyWindow), 0);
    EXPECT_EQ(platform_testing::LiveWindowCount(), windowsBefore);
    EXPECT_TRUE(host.IsCurrent());

    // A second set-down in a row finds nothing.
    platform_testing::Reset();
    EXPECT_EQ(DestroyGLDataOnThread(), PF_Err_NONE);
    EXPECT_EQ(platform_testing::CallCount(PlatformCall::wglDeleteContext), 0);
}

TEST_F(RegistryTeardown, ASecondSetupReplacesTheFirstStartupData) {
    const int contextsBefore = platform_testing::LiveContextCount();
    ASSERT_EQ(CreateSharedGLData(nullptr), PF_Err_NONE);
    const std::weak_ptr<AESDK_OpenGL::AESDK_OpenGL_EffectCommonData> first = s_sharedGLData;
    ASSERT_EQ(CreateSharedGLData(nullptr), PF_Err_NONE);
    EXPECT_TRUE(first.expired());
    EXPECT_EQ(platform_testing::LiveContextCount(), contextsBefore + 1);
    EXPECT_EQ(wglGetCurrentContext(), nullptr);
    EXPECT_EQ(DestroyGLDataOnThread(), PF_Err_NONE);
    EXPECT_EQ(platform_testing::LiveContextCount(), contextsBefore);
}

}  // namespace
