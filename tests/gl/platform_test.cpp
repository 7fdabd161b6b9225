// The EGL stand-in for Win32 and WGL behaves as the OpenGL layer relies on Windows to behave,
// and its test controls do what they promise.

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>

#include "platform/testing.h"
#include "platform/win32.h"
#include "tests/gl/gl_test_support.h"

namespace {

using platform_testing::PlatformCall;

WNDCLASSEXA WindowClass(const char* name) {
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof(WNDCLASSEXA);
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.lpszClassName = name;
    return windowClass;
}

TEST(Platform, ClassesAndWindowsFollowWindowsRules) {
    platform_testing::Reset();
    const WNDCLASSEXA windowClass = WindowClass("PlatformTestClass");
    ASSERT_NE(RegisterClassExA(&windowClass), 0);
    EXPECT_EQ(RegisterClassExA(&windowClass), 0);  // a name is registered once
    WNDCLASSEXA wrongSize = windowClass;
    wrongSize.cbSize = 0;
    EXPECT_EQ(RegisterClassExA(&wrongSize), 0);

    EXPECT_EQ(
        CreateWindowExA(0, "NoSuchClass", "", 0, 0, 0, 8, 8, nullptr, nullptr, nullptr, nullptr),
        nullptr);
    HWND window = CreateWindowExA(0, "PlatformTestClass", "", 0, 0, 0, 8, 8, nullptr, nullptr,
                                  nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    HDC deviceContext = GetDC(window);
    ASSERT_NE(deviceContext, nullptr);
    // While a window of the class exists the class stays registered, and only the thread
    // that made a window destroys it.
    EXPECT_FALSE(UnregisterClassA("PlatformTestClass", nullptr));
    EXPECT_EQ(GetWindowThreadProcessId(window, nullptr), GetCurrentThreadId());
    DWORD seenFromOther = 0;
    bool destroyedElsewhere = true;
    std::thread([&] {
        seenFromOther = GetWindowThreadProcessId(window, nullptr);
        destroyedElsewhere = DestroyWindow(window) != FALSE;
    }).join();
    EXPECT_EQ(seenFromOther, GetCurrentThreadId());
    EXPECT_FALSE(destroyedElsewhere);

    PIXELFORMATDESCRIPTOR pixelFormat = {};
    pixelFormat.nSize = sizeof(PIXELFORMATDESCRIPTOR);
    pixelFormat.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL;
    const int format = ChoosePixelFormat(deviceContext, &pixelFormat);
    EXPECT_NE(format, 0);
    EXPECT_TRUE(SetPixelFormat(deviceContext, format, &pixelFormat));
    EXPECT_FALSE(SetPixelFormat(deviceContext, format + 1, &pixelFormat));

    EXPECT_EQ(ReleaseDC(window, deviceContext), 1);
    EXPECT_TRUE(DestroyWindow(window));
    EXPECT_FALSE(DestroyWindow(window));
    EXPECT_EQ(GetWindowThreadProcessId(window, nullptr), 0u);
    EXPECT_EQ(GetDC(window), nullptr);
    EXPECT_EQ(ChoosePixelFormat(deviceContext, &pixelFormat), 0);
    EXPECT_TRUE(UnregisterClassA("PlatformTestClass", nullptr));
    EXPECT_FALSE(platform_testing::IsClassRegistered("PlatformTestClass"));
}

TEST(Platform, PlannedFailuresSkipThenFailThenStop) {
    platform_testing::Reset();
    platform_testing::FailCall(PlatformCall::RegisterClassExA, 1, 2);
    const char* const names[] = {"PlanA", "PlanB", "PlanC", "PlanD"};
    const bool expected[] = {true, false, false, true};
    for (int index = 0; index < 4; ++index) {
        const WNDCLASSEXA windowClass = WindowClass(names[index]);
        EXPECT_EQ(RegisterClassExA(&windowClass) != 0, expected[index]) << names[index];
    }
    EXPECT_EQ(platform_testing::CallCount(PlatformCall::RegisterClassExA), 4);
    UnregisterClassA("PlanA", nullptr);
    UnregisterClassA("PlanD", nullptr);
    platform_testing::Reset();
    EXPECT_EQ(platform_testing::CallCount(PlatformCall::RegisterClassExA), 0);
}

TEST(Platform, ContextsFollowWglRules) {
    QUORVEL_REQUIRE_GL();
    platform_testing::Reset();
    // Nothing is handed out without a current context.
    EXPECT_EQ(wglGetProcAddress("wglGetExtensionsStringARB"), nullptr);

    gl_test::HostContext host;
    ASSERT_TRUE(host.IsCurrent());
    auto getExtensions = reinterpret_cast<PFNWGLGETEXTENSIONSSTRINGARBPROC>(
        reinterpret_cast<void (*)()>(wglGetProcAddress("wglGetExtensionsStringARB")));
    ASSERT_NE(getExtensions, nullptr);
    EXPECT_STREQ(getExtensions(host.deviceContext), platform_testing::DefaultExtensionString());
    platform_testing::SetExtensionString("WGL_EXT_none");
    EXPECT_STREQ(getExtensions(host.deviceContext), "WGL_EXT_none");
    auto createContextAttribs = reinterpret_cast<PFNWGLCREATECONTEXTATTRIBSARBPROC>(
        reinterpret_cast<void (*)()>(wglGetProcAddress("wglCreateContextAttribsARB")));
    ASSERT_NE(createContextAttribs, nullptr);
    const int unknownAttribute[] = {0x1234, 1, 0};
    EXPECT_EQ(createContextAttribs(host.deviceContext, nullptr, unknownAttribute), nullptr);

    // A context current on another thread can be neither made current nor deleted here.
    HGLRC other = createContextAttribs(host.deviceContext, nullptr, nullptr);
    ASSERT_NE(other, nullptr);
    EXPECT_TRUE(wglMakeCurrent(host.deviceContext, other));
    bool madeCurrentElsewhere = true;
    bool deletedElsewhere = true;
    std::thread([&] {
        madeCurrentElsewhere = wglMakeCurrent(host.deviceContext, other) != FALSE;
        deletedElsewhere = wglDeleteContext(other) != FALSE;
    }).join();
    EXPECT_FALSE(madeCurrentElsewhere);
    EXPECT_FALSE(deletedElsewhere);

    // A failed make-current leaves the thread with no context, as WGL does.
    platform_testing::FailCall(PlatformCall::wglMakeCurrent);
    EXPECT_FALSE(wglMakeCurrent(host.deviceContext, host.context));
    EXPECT_EQ(wglGetCurrentContext(), nullptr);
    EXPECT_EQ(wglGetCurrentDC(), nullptr);

    // Deleting the current context makes it not current first.
    EXPECT_TRUE(wglMakeCurrent(host.deviceContext, other));
    EXPECT_TRUE(wglDeleteContext(other));
    EXPECT_EQ(wglGetCurrentContext(), nullptr);
    EXPECT_FALSE(wglMakeCurrent(host.deviceContext, other));
    platform_testing::Reset();
}

}  // namespace
