// What Windows itself holds of the start-up surface and of a render thread's surface: their
// window classes, windows, pixel formats and the kind of context on each.
#include <windows.h>

#include <glbinding/gl/gl.h>
#include <gtest/gtest.h>

#include <tuple>
#include <utility>

#include "gl/binding_lock.h"
#include "gl/context_guard.h"
#include "gl/hidden_context.h"
#include "gl/render_data.h"
#include "gl/render_data_registry.h"
#include "tests/gl/gl_test_support.h"

namespace {

using namespace gl;

TEST(HiddenSurface, WindowsHoldsWhatEachSurfaceWasMadeWith) {
    QUORVEL_REQUIRE_GL();
    ASSERT_EQ(CreateSharedGLData(nullptr), PF_Err_NONE);
    {
        AESDK_OpenGL::AESDK_OpenGL_EffectRenderData renderData;
        const AESDK_OpenGL::AESDK_OpenGL_ContextGuard guard;
        AESDK_OpenGL::CreateHiddenContext(renderData, s_sharedGLData.get());
        // The start-up context is a legacy one; a render context is made with major 3, minor 3
        // and nothing else, which leaves the default core profile and no flags.
        const struct {
            const AESDK_OpenGL::AESDK_OpenGL_EffectCommonData* data;
            GLint profile;
        } surfaces[] = {{s_sharedGLData.get(), GLint(GL_CONTEXT_COMPATIBILITY_PROFILE_BIT)},
                        {&renderData, GLint(GL_CONTEXT_CORE_PROFILE_BIT)}};
        for (const auto& surface : surfaces) {
            WNDCLASSEXA c = {};
            c.cbSize = sizeof(c);
            ASSERT_TRUE(GetClassInfoExA(GetModuleHandleA(nullptr),
                                        surface.data->windowClassName.c_str(), &c));
            EXPECT_EQ(std::make_tuple(c.style, c.lpfnWndProc, c.cbClsExtra, c.cbWndExtra, c.hIcon,
                                      c.hCursor, c.hbrBackground, c.lpszMenuName),
                      std::make_tuple(UINT{CS_HREDRAW | CS_VREDRAW}, WNDPROC{&DefWindowProcA}, 0, 0,
                                      HICON{}, LoadCursorA(nullptr, IDC_ARROW),
                                      HBRUSH(GetStockObject(BLACK_BRUSH)), LPCSTR{}));

            // Windows gives a window made without styles a caption and sibling clipping.
            const HWND window = surface.data->window;
            char title[64] = {};
            GetWindowTextA(window, title, sizeof(title));
            RECT rect = {};
            GetWindowRect(window, &rect);
            EXPECT_EQ(
                std::make_tuple(
                    std::string(title), GetWindowLongPtrA(window, GWL_EXSTYLE) & 0x40100,
                    GetWindowLongPtrA(window, GWL_STYLE) & ~LONG_PTR{WS_CLIPSIBLINGS | WS_CAPTION},
                    rect.left, rect.top, GetParent(window), GetMenu(window),
                    GetWindowLongPtrA(window, GWLP_HINSTANCE)),
                std::make_tuple(std::string("OpenGL-using FBOs in AE"), LONG_PTR{0x40100},
                                LONG_PTR{0}, LONG{0}, LONG{0}, HWND{}, HMENU{}, LONG_PTR{0}));

            const HDC deviceContext = surface.data->deviceContext;
            PIXELFORMATDESCRIPTOR pixelFormat = {};
            ASSERT_NE(DescribePixelFormat(deviceContext, GetPixelFormat(deviceContext),
                                          sizeof(pixelFormat), &pixelFormat),
                      0);
            EXPECT_EQ(std::make_pair(pixelFormat.dwFlags & 0x24, pixelFormat.iPixelType),
                      std::make_pair(DWORD{PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL},
                                     BYTE{PFD_TYPE_RGBA}));

            ASSERT_TRUE(wglMakeCurrent(deviceContext, surface.data->renderContext));
            AESDK_OpenGL::UseCurrentContext();
            const auto get = [](GLenum what) {
                GLint value = -1;
                glGetIntegerv(what, &value);
                return value;
            };
            EXPECT_GE(get(GL_MAJOR_VERSION) * 10 + get(GL_MINOR_VERSION), 33);
            EXPECT_EQ(std::make_pair(get(GL_CONTEXT_PROFILE_MASK), get(GL_CONTEXT_FLAGS)),
                      std::make_pair(surface.profile, 0));
        }
    }
    EXPECT_EQ(DestroyGLDataOnThread(), PF_Err_NONE);
}

}  // namespace
