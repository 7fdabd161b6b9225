// In a process of its own (nothing has rendered before): the first threads that render get
// the numbers 0 and 1. Needs no OpenGL.

#include <gtest/gtest.h>

#include <thread>

#include "gl/render_data_registry.h"

namespace {

TEST(FirstUseInProcess, TheFirstRenderingThreadsAreNumberedZeroAndOne) {
    ASSERT_TRUE(s_renderDataByThread.empty());
    std::thread([] { AcquireThreadRenderData(); }).join();
    std::thread([] { AcquireThreadRenderData(); }).join();
    ASSERT_EQ(s_renderDataByThread.size(), 2u);
    EXPECT_EQ(s_renderDataByThread.begin()->first, 0);
    EXPECT_EQ(s_renderDataByThread.rbegin()->first, 1);
    EXPECT_NE(s_renderDataByThread.at(0), s_renderDataByThread.at(1));
    AcquireThreadRenderData();
    EXPECT_EQ(s_renderDataByThread.count(2), 1u);
    EXPECT_EQ(DestroyGLDataOnThread(), PF_Err_NONE);
}

}  // namespace
