// In a process of its own, before any start-up context has cached the WGL entry points: the
// first window class number, render contexts before the start-up, and start-ups whose driver
// lacks WGL_ARB_create_context. These depend on the process-wide caches being empty, so they
// run in order in one test.

#include <gtest/gtest.h>

#include <string>

#include "gl/context_guard.h"
#include "gl/hidden_context.h"
#include "gl/render_data.h"
#include "gl/render_data_registry.h"
#include "platform/testing.h"
#include "tests/gl/gl_test_support.h"

namespace {

using AESDK_OpenGL::AESDK_OpenGL_EffectCommonData;
using platform_testing::PlatformCall;

// The fault code of a render context start, -1 when it starts.
int StartRenderContext(const AESDK_OpenGL_EffectCommonData& share) {
    const AESDK_OpenGL::AESDK_OpenGL_ContextGuard guard;
    AESDK_OpenGL::AESDK_OpenGL_EffectRenderData renderData;
    return gl_test::FaultCode([&] { AESDK_OpenGL::CreateHiddenContext(renderData, &share); });
}

TEST(FirstUseInProcess, StartupCachesTheEntryPointsOnlyWhenTheDriverOffersThem) {
    // The first hidden window of the process.
    std::string className;
    DestroyWindow(AESDK_OpenGL::CreateHiddenWindow("Quorvel", className));
    EXPECT_EQ(className, "AESDK_OpenGL_Quorvel_Win_Class0");
    UnregisterClassA(className.c_str(), nullptr);

    QUORVEL_REQUIRE_GL();
    const gl_test::HostContext host;
    const int contextsBefore = platform_testing::LiveContextCount();

    // A render context before any start-up: no wglCreateContextAttribsARB to call.
    AESDK_OpenGL_EffectCommonData hostAsShare;
    hostAsShare.renderContext = host.context;
    EXPECT_EQ(StartRenderContext(hostAsShare), 1);
    EXPECT_TRUE(host.IsCurrent());
    hostAsShare.renderContext = nullptr;  // the host's, not ours to delete

    // A driver without the extension, and one whose second address look-up fails.
    platform_testing::SetExtensionString("WGL_ARB_extensions_string WGL_ARB_pixel_format");
    EXPECT_EQ(CreateSharedGLData(nullptr), PF_Err_OUT_OF_MEMORY);
    EXPECT_TRUE(host.IsCurrent());
    platform_testing::Reset();
    platform_testing::FailCall(PlatformCall::wglGetProcAddress, 1);
    EXPECT_EQ(CreateSharedGLData(nullptr), PF_Err_OUT_OF_MEMORY);
    EXPECT_EQ(platform_testing::CallCount(PlatformCall::wglGetProcAddress), 2);
    EXPECT_TRUE(host.IsCurrent());
    EXPECT_EQ(platform_testing::LiveContextCount(), contextsBefore);

    // The search is for the text anywhere: a longer extension name counts too.
    platform_testing::Reset();
    platform_testing::SetExtensionString(
        "WGL_ARB_extensions_string WGL_ARB_create_context_profile");
    EXPECT_EQ(CreateSharedGLData(nullptr), PF_Err_NONE);
    EXPECT_TRUE(host.IsCurrent());

    // Now cached, the address stays even when a later start-up's driver does not offer it.
    platform_testing::SetExtensionString("");
    EXPECT_EQ(CreateSharedGLData(nullptr), PF_Err_NONE);
    platform_testing::Reset();
    EXPECT_EQ(StartRenderContext(*s_sharedGLData), -1);
    EXPECT_TRUE(host.IsCurrent());
    EXPECT_EQ(DestroyGLDataOnThread(), PF_Err_NONE);
    EXPECT_EQ(platform_testing::LiveContextCount(), contextsBefore);
}

}  // namespace
