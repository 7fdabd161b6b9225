// The context guard: no call when nothing changed, the host's context back otherwise, also
// when the scope is left by an exception.

#include <gtest/gtest.h>

#include "gl/context_guard.h"
#include "platform/testing.h"
#include "tests/gl/gl_test_support.h"

namespace {

using AESDK_OpenGL::AESDK_OpenGL_ContextGuard;
using platform_testing::PlatformCall;

TEST(ContextGuard, UnchangedContextsCostNoMakeCurrent) {
    // Needs no OpenGL: with nothing current before and after there is nothing to restore.
    platform_testing::Reset();
    { const AESDK_OpenGL_ContextGuard guard; }
    EXPECT_EQ(platform_testing::CallCount(PlatformCall::wglMakeCurrent), 0);
    EXPECT_EQ(platform_testing::CallCount(PlatformCall::wglGetCurrentContext), 2);
    EXPECT_EQ(wglGetCurrentContext(), nullptr);
}

TEST(ContextGuard, TheHostContextComesBackOnEveryExit) {
    QUORVEL_REQUIRE_GL();
    const gl_test::HostContext host;
    platform_testing::Reset();
    { const AESDK_OpenGL_ContextGuard guard; }
    EXPECT_EQ(platform_testing::CallCount(PlatformCall::wglMakeCurrent), 0);

    {
        const AESDK_OpenGL_ContextGuard guard;
        const gl_test::HostContext other;  // current now
        EXPECT_FALSE(host.IsCurrent());
    }
    EXPECT_TRUE(host.IsCurrent());

    try {
        const AESDK_OpenGL_ContextGuard guard;
        wglMakeCurrent(nullptr, nullptr);
        throw 7;
    } catch (int) {
    }
    EXPECT_TRUE(host.IsCurrent());

    // A failed restore is ignored: the guard cannot do more than try.
    {
        const AESDK_OpenGL_ContextGuard guard;
        wglMakeCurrent(nullptr, nullptr);
        platform_testing::FailCall(PlatformCall::wglMakeCurrent);
    }
    EXPECT_EQ(wglGetCurrentContext(), nullptr);
    platform_testing::Reset();
}

}  // namespace
