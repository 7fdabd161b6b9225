// Hidden windows and contexts: every failure of the platform during a start, the host's
// context afterwards, what is left behind, the information print and the window class names.

#include <gtest/gtest.h>

#include <memory>
#include <regex>
#include <set>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "gl/context_guard.h"
#include "gl/hidden_context.h"
#include "gl/render_data.h"
#include "gl/render_data_registry.h"
#include "platform/testing.h"
#include "shell/toolkit/errors.h"
#include "tests/gl/gl_test_support.h"

namespace {

using AESDK_OpenGL::AESDK_OpenGL_ContextGuard;
using AESDK_OpenGL::AESDK_OpenGL_EffectRenderData;
using AESDK_OpenGL::AESDK_OpenGL_Fault;
using platform_testing::PlatformCall;

// What the platform holds, to see that a failed start leaves nothing behind.
struct PlatformCounts {
    int windows = platform_testing::LiveWindowCount();
    int classes = platform_testing::RegisteredClassCount();
    int contexts = platform_testing::LiveContextCount();
};

// Expects the platform to hold what it held `before`, plus the given numbers.
void ExpectCounts(const PlatformCounts& before, int windows = 0, int classes = 0,
                  int contexts = 0) {
    const PlatformCounts now;
    EXPECT_EQ(now.windows, before.windows + windows);
    EXPECT_EQ(now.classes, before.classes + classes);
    EXPECT_EQ(now.contexts, before.contexts + contexts);
}

class HiddenContext : public ::testing::Test {
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

TEST_F(HiddenContext, EveryStartupFailureGivesOutOfMemoryAndRestoresTheHostContext) {
    const PlatformCall failures[] = {PlatformCall::RegisterClassExA,  PlatformCall::CreateWindowExA,
                                     PlatformCall::ChoosePixelFormat, PlatformCall::SetPixelFormat,
                                     PlatformCall::wglCreateContext,  PlatformCall::wglMakeCurrent,
                                     PlatformCall::wglGetProcAddress};
    const gl_test::HostContext host;
    ASSERT_TRUE(host.IsCurrent());
    for (const PlatformCall failure : failures) {
        SCOPED_TRACE(static_cast<int>(failure));
        const PlatformCounts before;
        platform_testing::FailCall(failure);
        EXPECT_EQ(CreateSharedGLData(nullptr), PF_Err_OUT_OF_MEMORY);
        EXPECT_TRUE(host.IsCurrent());
        // The partly made start-up data stays until GLOBAL_SETDOWN; a context that was made
        // but not finished is gone already.
        ASSERT_TRUE(s_sharedGLData);
        EXPECT_EQ(s_sharedGLData->renderContext, nullptr);
        const HWND window = s_sharedGLData->window;
        EXPECT_EQ(DestroyGLDataOnThread(), PF_Err_NONE);
        EXPECT_FALSE(s_sharedGLData);
        EXPECT_TRUE(host.IsCurrent());
        // The teardown's thread did not make the start-up window: no context is left, but
        // the window (when one was made) stays with its creator, and its class with it.
        const int left = window != nullptr ? 1 : 0;
        ExpectCounts(before, left, left);
        if (window != nullptr) {
            EXPECT_EQ(GetWindowThreadProcessId(window, nullptr), GetCurrentThreadId());
        }
        platform_testing::Reset();
    }
    // And without a failure the same start works, still giving the host its context back.
    EXPECT_EQ(CreateSharedGLData(nullptr), PF_Err_NONE);
    EXPECT_TRUE(host.IsCurrent());
    EXPECT_NE(s_sharedGLData->renderContext, nullptr);
}

TEST_F(HiddenContext, EveryRenderContextFailureGivesFaultOneAndARetryStartsCleanly) {
    const PlatformCall failures[] = {PlatformCall::RegisterClassExA,
                                     PlatformCall::CreateWindowExA,
                                     PlatformCall::ChoosePixelFormat,
                                     PlatformCall::SetPixelFormat,
                                     PlatformCall::wglCreateContextAttribsARB,
                                     PlatformCall::wglMakeCurrent,
                                     PlatformCall::wglShareLists};
    const gl_test::HostContext host;
    ASSERT_EQ(CreateSharedGLData(nullptr), PF_Err_NONE);
    const PlatformCounts before;
    for (const PlatformCall failure : failures) {
        SCOPED_TRACE(static_cast<int>(failure));
        auto renderData = std::make_shared<AESDK_OpenGL_EffectRenderData>();
        platform_testing::FailCall(failure);
        EXPECT_EQ(gl_test::FaultCode([&] {
                      const AESDK_OpenGL_ContextGuard guard;
                      AESDK_OpenGL::CreateHiddenContext(*renderData, s_sharedGLData.get());
                  }),
                  1);
        EXPECT_TRUE(host.IsCurrent());
        EXPECT_EQ(renderData->renderContext, nullptr);
        EXPECT_EQ(platform_testing::LiveContextCount(), before.contexts);

        // The next frame starts again; what the failed start left is given back first.
        {
            const AESDK_OpenGL_ContextGuard guard;
            AESDK_OpenGL::CreateHiddenContext(*renderData, s_sharedGLData.get());
            EXPECT_EQ(wglGetCurrentContext(), renderData->renderContext);
        }
        EXPECT_TRUE(host.IsCurrent());
        ExpectCounts(before, 1, 1, 1);
        renderData.reset();
        wglMakeCurrent(host.deviceContext, host.context);
        ExpectCounts(before);
    }
}

TEST_F(HiddenContext, AShareWithoutAContextIsRefused) {
    const gl_test::HostContext host;
    const AESDK_OpenGL::AESDK_OpenGL_EffectCommonData emptyShare;
    AESDK_OpenGL_EffectRenderData renderData;
    const PlatformCounts before;
    EXPECT_EQ(gl_test::FaultCode([&] {
                  const AESDK_OpenGL_ContextGuard guard;
                  AESDK_OpenGL::CreateHiddenContext(renderData, &emptyShare);
              }),
              1);
    EXPECT_TRUE(host.IsCurrent());
    ExpectCounts(before);
}

TEST_F(HiddenContext, EachStartPrintsTheContextInformationBetweenEmptyLines) {
    testing::internal::CaptureStdout();
    ASSERT_EQ(CreateSharedGLData(nullptr), PF_Err_NONE);
    const std::string printed = testing::internal::GetCapturedStdout();
    const std::regex expected(
        "\nOpenGL Version:  [0-9]+\\.[0-9]+\n"
        "OpenGL Vendor:   [^\n]+\n"
        "OpenGL Renderer: [^\n]+\n"
        "OpenGL Revision: [0-9]+ \\(gl\\.xml\\)\n\n");
    EXPECT_TRUE(std::regex_match(printed, expected)) << printed;
}

// What Windows is given for the start-up surface and a render thread's: the EGL stand-in would
// accept other values too.
TEST_F(HiddenContext, EachSurfaceIsAskedOfWindowsAsItsKindIs) {
    ASSERT_EQ(CreateSharedGLData(nullptr), PF_Err_NONE);
    AESDK_OpenGL_EffectRenderData renderData;
    {
        const AESDK_OpenGL_ContextGuard guard;
        AESDK_OpenGL::CreateHiddenContext(renderData, s_sharedGLData.get());
    }
    PIXELFORMATDESCRIPTOR pixelFormat = {};
    pixelFormat.nSize = sizeof(PIXELFORMATDESCRIPTOR);
    pixelFormat.nVersion = 1;
    pixelFormat.dwFlags = 0x24;
    pixelFormat.iPixelType = PFD_TYPE_RGBA;
    pixelFormat.cColorBits = 32;
    pixelFormat.cDepthBits = 8;
    const auto bytes = [](const PIXELFORMATDESCRIPTOR& descriptor) {
        const auto* begin = reinterpret_cast<const unsigned char*>(&descriptor);
        return std::vector<int>(begin, begin + sizeof(descriptor));
    };
    const struct {
        const AESDK_OpenGL::AESDK_OpenGL_EffectCommonData* data;
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
        EXPECT_EQ(bytes(platform_testing::RequestedPixelFormat(surface.data->deviceContext)),
                  bytes(pixelFormat));
        EXPECT_EQ(platform_testing::ContextAttributes(surface.data->renderContext),
                  surface.contextAttributes);
    }
}

TEST_F(HiddenContext, AContextMadeAndGivenBackOnOneThreadLeavesNothing) {
    ASSERT_EQ(CreateSharedGLData(nullptr), PF_Err_NONE);
    const PlatformCounts before;

    std::string ownClass;
    std::thread([&ownClass] {
        const AESDK_OpenGL_ContextGuard guard;
        AESDK_OpenGL_EffectRenderData renderData;
        AESDK_OpenGL::CreateHiddenContext(renderData, s_sharedGLData.get());
        ownClass = renderData.windowClassName;
    }).join();
    EXPECT_EQ(platform_testing::CallCount(PlatformCall::DestroyWindow), 1);
    EXPECT_FALSE(platform_testing::IsClassRegistered(ownClass));
    ExpectCounts(before);
}

// Needs no OpenGL: windows and classes are the platform's alone.
TEST(HiddenWindow, ClassNamesNeverRepeatAcrossThreads) {
    constexpr int kThreads = 8;
    constexpr int kWindowsPerThread = 4;
    std::vector<std::vector<std::pair<HWND, std::string>>> made(kThreads);
    std::vector<std::thread> threads;
    for (int thread = 0; thread < kThreads; ++thread) {
        threads.emplace_back([&made, thread] {
            for (int window = 0; window < kWindowsPerThread; ++window) {
                std::string className;
                HWND handle = AESDK_OpenGL::CreateHiddenWindow("Quorvel", className);
                made[thread].emplace_back(handle, className);
            }
            // Only this thread may destroy its windows; their classes go with them.
            for (const auto& window : made[thread]) {
                EXPECT_TRUE(DestroyWindow(window.first));
                EXPECT_TRUE(UnregisterClassA(window.second.c_str(), nullptr));
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    std::set<std::string> names;
    const std::regex pattern("AESDK_OpenGL_Quorvel_Win_Class[0-9]+");
    for (const auto& perThread : made) {
        for (const auto& window : perThread) {
            EXPECT_NE(window.first, nullptr);
            EXPECT_TRUE(std::regex_match(window.second, pattern)) << window.second;
            names.insert(window.second);
        }
    }
    EXPECT_EQ(names.size(), static_cast<size_t>(kThreads * kWindowsPerThread));
}

// As after the module was unloaded and loaded again: the numbering starts over while classes
// of the earlier load are still registered. Their names are skipped; other failures are not.
TEST(HiddenWindow, ANameStillRegisteredIsSkipped) {
    std::string first;
    HWND firstWindow = AESDK_OpenGL::CreateHiddenWindow("Quorvel", first);
    const int number = std::stoi(first.substr(first.rfind("Class") + 5));
    const std::string taken = "AESDK_OpenGL_Quorvel_Win_Class" + std::to_string(number + 1);
    WNDCLASSEXA earlier = {};
    earlier.cbSize = sizeof(WNDCLASSEXA);
    earlier.lpfnWndProc = DefWindowProcA;
    earlier.lpszClassName = taken.c_str();
    ASSERT_NE(RegisterClassExA(&earlier), 0);

    std::string second;
    HWND secondWindow = AESDK_OpenGL::CreateHiddenWindow("Quorvel", second);
    EXPECT_NE(secondWindow, nullptr);
    EXPECT_EQ(second, "AESDK_OpenGL_Quorvel_Win_Class" + std::to_string(number + 2));
    EXPECT_TRUE(platform_testing::IsClassRegistered(second));

    platform_testing::FailCall(PlatformCall::RegisterClassExA);
    std::string failed;
    EXPECT_THROW(AESDK_OpenGL::CreateHiddenWindow("Quorvel", failed), AESDK_OpenGL_Fault);
    EXPECT_EQ(failed, "AESDK_OpenGL_Quorvel_Win_Class" + std::to_string(number + 3));
    platform_testing::Reset();

    for (const auto& window :
         {std::make_pair(firstWindow, first), std::make_pair(secondWindow, second)}) {
        DestroyWindow(window.first);
        EXPECT_TRUE(UnregisterClassA(window.second.c_str(), nullptr));
    }
    EXPECT_TRUE(UnregisterClassA(taken.c_str(), nullptr));
}

}  // namespace
