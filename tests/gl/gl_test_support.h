#pragma once

// Helpers for the OpenGL layer's tests: whether a context can be made here, a stand-in for the
// host's own current context, counting OpenGL calls, and drawing with the real programs.

#include <glbinding/gl/types.h>
#include <gtest/gtest.h>

#include <array>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "gl/gl_object.h"
#include "gl/render_data.h"
#include "platform/win32.h"
#include "shell/toolkit/errors.h"

namespace gl_test {

// True when this machine can make an OpenGL context; decided once per process.
bool ContextAvailable();

#define QUORVEL_REQUIRE_GL()                                      \
    do {                                                          \
        if (!gl_test::ContextAvailable()) {                       \
            GTEST_SKIP() << "no OpenGL context can be made here"; \
        }                                                         \
    } while (false)

// The host's OpenGL context: its own window, device context and legacy context, current on the
// creating thread while this object lives.
class HostContext {
  public:
    HostContext();
    ~HostContext();
    HostContext(const HostContext&) = delete;
    HostContext& operator=(const HostContext&) = delete;

    // True when the host's context and device context are the calling thread's current ones.
    bool IsCurrent() const;

    HWND window = nullptr;
    HDC deviceContext = nullptr;
    HGLRC context = nullptr;
    std::string className;
};

// Counts OpenGL calls by glbinding function name ("glGenTextures") while it lives. Made on a
// thread whose glbinding context is selected; counts calls of every thread.
class GLCallCounter {
  public:
    GLCallCounter();
    ~GLCallCounter();
    GLCallCounter(const GLCallCounter&) = delete;
    GLCallCounter& operator=(const GLCallCounter&) = delete;

    int Count(const std::string& function) const;
    int Total() const;
    // Objects made: textures, buffers, framebuffers, vertex arrays, programs and shaders.
    int Creations() const;
    int Deletions() const;
    void Clear();
};

// The code of the AESDK_OpenGL_Fault that `action` throws, or -1 when it throws none.
template <typename Action>
int FaultCode(Action&& action) {
    try {
        action();
    } catch (const AESDK_OpenGL::AESDK_OpenGL_Fault& fault) {
        return fault.code;
    }
    return -1;
}

// Start-up data plus the calling thread's render data, started and current: what a render
// thread has after its first frame began. Skips the test when no context can be made.
class RenderDataTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    std::shared_ptr<AESDK_OpenGL::AESDK_OpenGL_EffectRenderData> renderData;
};

// RGBA float texels, row by row.
using Texels = std::vector<std::array<float, 4>>;

// Expects every channel of `actual` within `tolerance` of `expected`.
inline void ExpectPixel(const std::array<float, 4>& actual, const std::array<float, 4>& expected,
                        float tolerance = 1e-6f) {
    for (int channel = 0; channel < 4; ++channel) {
        EXPECT_NEAR(actual[channel], expected[channel], tolerance) << "channel " << channel;
    }
}

// An edge-clamped float texture of the given formats and filter, in the current context.
AESDK_OpenGL::GlTexture MakeFloatTexture(gl::GLenum internalFormat, gl::GLenum format,
                                         gl::GLenum filter, int width, int height,
                                         const float* data);
// A nearest-filtered, edge-clamped RGBA32F texture, in the current context.
AESDK_OpenGL::GlTexture MakeTexture(int width, int height, const Texels& texels);
// The render data of a new thread that starts its context, prepares its resources at width x
// height and ends, leaving its render data in the registry; watched without keeping it alive.
std::weak_ptr<AESDK_OpenGL::AESDK_OpenGL_EffectRenderData> RenderOnEndedThread(int width,
                                                                               int height);
// The RGBA32F pixels of the bound framebuffer's colour target.
Texels ReadPixels(int width, int height);
// Column-major pixel-to-clip projection for a pass of width x height.
std::array<float, 16> PixelProjection(int width, int height);

// Attaches `target` (cleared to transparent black) to the render data's framebuffer and uses
// `program` with the pixel projection of width x height, blending off.
void BeginPass(AESDK_OpenGL::AESDK_OpenGL_EffectRenderData& renderData, gl::GLuint program,
               gl::GLuint target, int width, int height);
// Draws the render data's full-frame quad with the program of `slot` reading `texture`, into
// the given target texture of the render data's size (which is cleared first).
void DrawConversionPass(AESDK_OpenGL::AESDK_OpenGL_EffectRenderData& renderData, int slot,
                        gl::GLuint texture, float multiplier16bit, gl::GLuint target);

}  // namespace gl_test
