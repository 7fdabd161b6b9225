// Hidden windows and contexts, the context guard, the render data registry and GLOBAL_SETUP and
// GLOBAL_SETDOWN's OpenGL parts: every failure of the platform during a start, the host's
// context afterwards, what is left behind, and what Windows is asked for.

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <memory>
#include <regex>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "gl/context_guard.h"
#include "gl/hidden_context.h"
#include "gl/render_data.h"
#include "gl/render_data_registry.h"
#include "gl/render_resources.h"
#include "platform/testing.h"
#include "shell/command_switch.h"
#include "tests/gl/gl_test_support.h"

namespace {

using AESDK_OpenGL::AESDK_OpenGL_ContextGuard;
using AESDK_OpenGL::AESDK_OpenGL_EffectCommonData;
using AESDK_OpenGL::AESDK_OpenGL_EffectRenderData;
using platform_testing::PlatformCall;
using Counts = std::array<int, 3>;

// What the platform holds: live windows, registered classes and live contexts, to see that a
// failed start leaves nothing behind.
Counts Held(int windows = 0, int classes = 0, int contexts = 0) {
    return {platform_testing::LiveWindowCount() - windows,
            platform_testing::RegisteredClassCount() - classes,
            platform_testing::LiveContextCount() - contexts};
}

PF_Err Send(PF_Cmd cmd) {
    PF_InData in = {};
    PF_OutData out = {};
    return RunCommand({cmd, &in, &out, nullptr, nullptr, nullptr});
}

// The fault code of a render context start on `share`, -1 when it starts.
int StartRenderContext(const AESDK_OpenGL_EffectCommonData& share) {
    const AESDK_OpenGL_ContextGuard guard;
    AESDK_OpenGL_EffectRenderData renderData;
    return gl_test::FaultCode([&] { AESDK_OpenGL::CreateHiddenContext(renderData, &share); });
}

// First, while nothing has cached the WGL entry points (ctest runs each test in a process of
// its own; run together, this one comes first): the first window class number, render
// contexts before the start-up, and start-ups whose driver lacks WGL_ARB_create_context.
TEST(FirstUseInProcess, StartupCachesTheEntryPointsOnlyWhenTheDriverOffersThem) {
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

class Contexts : public ::testing::Test {
  protected:
    void SetUp() override {
        QUORVEL_REQUIRE_GL();
        platform_testing::Reset();
    }
    void TearDown() override {
        platform_testing::Reset();
        EXPECT_EQ(DestroyGLDataOnThread(), PF_Err_NONE);
    }
};

TEST_F(Contexts, EveryStartupFailureEndsSetupWithOutOfMemoryAndRestoresTheHostContext) {
    const PlatformCall failures[] = {PlatformCall::RegisterClassExA,  PlatformCall::CreateWindowExA,
                                     PlatformCall::ChoosePixelFormat, PlatformCall::SetPixelFormat,
                                     PlatformCall::wglCreateContext,  PlatformCall::wglMakeCurrent,
                                     PlatformCall::wglGetProcAddress};
    const gl_test::HostContext host;
    for (const PlatformCall failure : failures) {
        SCOPED_TRACE(static_cast<int>(failure));
        const Counts before = Held();
        platform_testing::FailCall(failure);
        EXPECT_EQ(Send(PF_Cmd_GLOBAL_SETUP), PF_Err_OUT_OF_MEMORY);
        EXPECT_TRUE(host.IsCurrent());
        // The partly made start-up data stays until GLOBAL_SETDOWN; a context that was made
        // but not finished is gone already.
        ASSERT_TRUE(s_sharedGLData);
        EXPECT_EQ(s_sharedGLData->renderContext, nullptr);
        const HWND window = s_sharedGLData->window;
        EXPECT_EQ(Send(PF_Cmd_GLOBAL_SETDOWN), PF_Err_NONE);
        EXPECT_FALSE(s_sharedGLData);
        EXPECT_TRUE(host.IsCurrent());
        // The teardown's thread did not make the start-up window: no context is left, but
        // the window (when one was made) stays with its creator, and its class with it.
        EXPECT_EQ(Held(window != nullptr, window != nullptr), before);
        platform_testing::Reset();
    }
    // Without a failure the same start works, giving the host its context back and printing
    // the context information between empty lines.
    testing::internal::CaptureStdout();
    ASSERT_EQ(CreateSharedGLData(nullptr), PF_Err_NONE);
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_TRUE(host.IsCurrent());
    EXPECT_TRUE(std::regex_match(printed, std::regex("\nOpenGL Version:  [0-9]+\\.[0-9]+\n"
                                                     "OpenGL Vendor:   [^\n]+\n"
                                                     "OpenGL Renderer: [^\n]+\n"
                                                     "OpenGL Revision: [0-9]+ \\(gl\\.xml\\)\n\n")))
        << printed;
}

TEST_F(Contexts, EveryRenderContextFailureGivesFaultOneAndARetryStartsCleanly) {
    // Count stands for a share without a context, which would give a legacy context.
    const PlatformCall failures[] = {PlatformCall::RegisterClassExA,
                                     PlatformCall::CreateWindowExA,
                                     PlatformCall::ChoosePixelFormat,
                                     PlatformCall::SetPixelFormat,
                                     PlatformCall::wglCreateContextAttribsARB,
                                     PlatformCall::wglMakeCurrent,
                                     PlatformCall::wglShareLists,
                                     PlatformCall::Count};
    const gl_test::HostContext host;
    ASSERT_EQ(CreateSharedGLData(nullptr), PF_Err_NONE);
    const Counts before = Held();
    const AESDK_OpenGL_EffectCommonData emptyShare;
    for (const PlatformCall failure : failures) {
        SCOPED_TRACE(static_cast<int>(failure));
        auto renderData = std::make_shared<AESDK_OpenGL_EffectRenderData>();
        const bool empty = failure == PlatformCall::Count;
        if (!empty) {
            platform_testing::FailCall(failure);
        }
        EXPECT_EQ(gl_test::FaultCode([&] {
                      const AESDK_OpenGL_ContextGuard guard;
                      AESDK_OpenGL::CreateHiddenContext(*renderData,
                                                        empty ? &emptyShare : s_sharedGLData.get());
                  }),
                  1);
        EXPECT_TRUE(host.IsCurrent());
        EXPECT_EQ(renderData->renderContext, nullptr);
        EXPECT_EQ(platform_testing::LiveContextCount(), before[2]);
        // The next frame starts again; what the failed start left is given back first.
        {
            const AESDK_OpenGL_ContextGuard guard;
            AESDK_OpenGL::CreateHiddenContext(*renderData, s_sharedGLData.get());
            EXPECT_EQ(wglGetCurrentContext(), renderData->renderContext);
        }
        EXPECT_TRUE(host.IsCurrent());
        EXPECT_EQ(Held(1, 1, 1), before);
        // Given back on the thread that made it, nothing is left.
        renderData.reset();
        wglMakeCurrent(host.deviceContext, host.context);
        EXPECT_EQ(Held(), before);
    }
}

// What Windows is given for the start-up surface and a render thread's: the EGL stand-in would
// accept other values too.
TEST_F(Contexts, EachSurfaceIsAskedOfWindowsAsItsKindIs) {
    ASSERT_EQ(CreateSharedGLData(nullptr), PF_Err_NONE);
    AESDK_OpenGL_EffectRenderData renderData;
    {
        const AESDK_OpenGL_ContextGuard guard;
        AESDK_OpenGL::CreateHiddenContext(renderData, s_sharedGLData.get());
    }
    PIXELFORMATDESCRIPTOR pixelFormat = {};
    pixelFormat.nSize = sizeof(PIXELFORMATDESCRIPTOR);
    pixelFormat.nVersion = 1;
    pixelFormat.dwFlags = 0x24;  // drawn to a window, with OpenGL; RGBA is 0
    pixelFormat.cColorBits = 32;
    pixelFormat.cDepthBits = 8;
    const struct {
        const AESDK_OpenGL_EffectCommonData* data;
        std::vector<int> contextAttributes;
    } surfaces[] = {{s_sharedGLData.get(), {}}, {&renderData, {0x2091, 3, 0x2092, 3, 0}}};
    for (const auto& surface : surfaces) {
        const WNDCLASSEXA c =
            platform_testing::RegisteredClassFields(surface.data->windowClassName);
        EXPECT_EQ(
            std::make_tuple(c.cbSize, c.style, c.lpfnWndProc, c.cbClsExtra, c.cbWndExtra,
                            c.hInstance, c.hIcon, c.hCursor, c.hbrBackground, c.lpszMenuName,
                            c.hIconSm),
            std::make_tuple(UINT{sizeof(WNDCLASSEXA)}, UINT{3}, &DefWindowProcA, 0, 0,
                            GetModuleHandleA(nullptr), HICON{},
                            LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)),
                            static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)), LPCSTR{}, HICON{}));
        const platform_testing::WindowArguments w =
            platform_testing::CreatedWindowArguments(surface.data->window);
        EXPECT_EQ(std::make_tuple(w.exStyle, w.className, w.title, w.style, w.x, w.y, w.width,
                                  w.height, w.parent, w.menu, w.instance, w.parameter),
                  std::make_tuple(DWORD{0x40100}, surface.data->windowClassName,
                                  std::string("OpenGL-using FBOs in AE"), DWORD{0}, 0, 0, 8, 8,
                                  HWND{}, HMENU{}, HINSTANCE{}, LPVOID{}));
        const PIXELFORMATDESCRIPTOR requested =
            platform_testing::RequestedPixelFormat(surface.data->deviceContext);
        EXPECT_EQ(std::memcmp(&requested, &pixelFormat, sizeof(pixelFormat)), 0);
        EXPECT_EQ(platform_testing::ContextAttributes(surface.data->renderContext),
                  surface.contextAttributes);
    }
}

// As after the module was unloaded and loaded again: the numbering starts over while classes
// of the earlier load are still registered. Their names are skipped; other failures are not.
TEST_F(Contexts, AClassNameStillRegisteredIsSkipped) {
    std::string first;
    AESDK_OpenGL::CreateHiddenWindow("Quorvel", first);
    const int number = std::stoi(first.substr(first.rfind("Class") + 5));
    const auto name = [](int n) { return "AESDK_OpenGL_Quorvel_Win_Class" + std::to_string(n); };
    const std::string taken = name(number + 1);
    WNDCLASSEXA earlier = {};
    earlier.cbSize = sizeof(WNDCLASSEXA);
    earlier.lpfnWndProc = DefWindowProcA;
    earlier.lpszClassName = taken.c_str();
    ASSERT_NE(RegisterClassExA(&earlier), 0);

    std::string second;
    EXPECT_NE(AESDK_OpenGL::CreateHiddenWindow("Quorvel", second), nullptr);
    EXPECT_EQ(second, name(number + 2));
    EXPECT_TRUE(platform_testing::IsClassRegistered(second));
    platform_testing::FailCall(PlatformCall::RegisterClassExA);
    std::string failed;
    EXPECT_EQ(gl_test::FaultCode([&] { AESDK_OpenGL::CreateHiddenWindow("Quorvel", failed); }), 1);
    EXPECT_EQ(failed, name(number + 3));
}

// The guard's restores on a normal and on an exceptional exit are seen by the start tests above.
TEST_F(Contexts, TheGuardRestoresOnlyWhatChangedAndIgnoresAFailedRestore) {
    const gl_test::HostContext host;
    platform_testing::Reset();
    { const AESDK_OpenGL_ContextGuard guard; }
    EXPECT_EQ(platform_testing::CallCount(PlatformCall::wglMakeCurrent), 0);
    // A failed restore is ignored: the guard cannot do more than try.
    {
        const AESDK_OpenGL_ContextGuard guard;
        wglMakeCurrent(nullptr, nullptr);
        platform_testing::FailCall(PlatformCall::wglMakeCurrent);
    }
    EXPECT_EQ(wglGetCurrentContext(), nullptr);
}

// Each thread that renders gets the next number (from 0) and render data of its own, kept after
// the thread has ended, until GLOBAL_SETDOWN destroys everything on a thread of its own.
TEST_F(Contexts, EachThreadKeepsItsRenderDataUntilSetdownDestroysAllOnItsOwnThread) {
    const gl_test::HostContext host;
    const int contextsBefore = platform_testing::LiveContextCount();
    // A second set-up replaces the first start-up data (its context is gone at the end).
    ASSERT_EQ(CreateSharedGLData(nullptr), PF_Err_NONE);
    ASSERT_EQ(CreateSharedGLData(nullptr), PF_Err_NONE);
    const auto mine = AcquireThreadRenderData();
    EXPECT_EQ(AcquireThreadRenderData(), mine);
    // Two render threads that have rendered and ended.
    std::vector<std::shared_ptr<AESDK_OpenGL_EffectRenderData>> rendered(2);
    for (auto& renderData : rendered) {
        std::thread([&renderData] {
            const AESDK_OpenGL_ContextGuard guard;
            renderData = AcquireThreadRenderData();
            AESDK_OpenGL::CreateHiddenContext(*renderData, s_sharedGLData.get());
            AESDK_OpenGL::PrepareRenderResources(*renderData, 32, 32, false);
        }).join();
    }
    EXPECT_EQ(s_renderDataByThread,
              (decltype(s_renderDataByThread){{0, mine}, {1, rendered[0]}, {2, rendered[1]}}));
    EXPECT_EQ(platform_testing::LiveContextCount(), contextsBefore + 3);
    // The registry lets go at set-down; a render data held elsewhere lives until released.
    const std::weak_ptr<AESDK_OpenGL_EffectRenderData> released = rendered[1];
    rendered.pop_back();
    const int windowsBefore = platform_testing::LiveWindowCount();
    for (int setdown = 0; setdown < 2; ++setdown) {
        platform_testing::Reset();
        EXPECT_EQ(Send(PF_Cmd_GLOBAL_SETDOWN), PF_Err_NONE);
        EXPECT_TRUE(s_renderDataByThread.empty());
        EXPECT_FALSE(s_sharedGLData);
        // Every context deleted by the teardown's thread the first time, none the second.
        EXPECT_EQ(platform_testing::CallCount(PlatformCall::wglDeleteContext), 2 - 2 * setdown);
        // None of the windows was made by the teardown's thread, so none is its to destroy.
        EXPECT_EQ(platform_testing::CallCount(PlatformCall::DestroyWindow), 0);
        EXPECT_EQ(platform_testing::LiveWindowCount(), windowsBefore);
        EXPECT_TRUE(host.IsCurrent());
    }
    EXPECT_TRUE(released.expired());
    EXPECT_EQ(platform_testing::LiveContextCount(), contextsBefore + 1);
    rendered.clear();
    EXPECT_EQ(platform_testing::LiveContextCount(), contextsBefore);
    // After a set-down a thread keeps its number but gets a fresh render data.
    EXPECT_NE(AcquireThreadRenderData(), mine);
}

}  // namespace
