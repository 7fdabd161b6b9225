#pragma once

// Helpers for the OpenGL layer's tests: whether a context can be made here, a stand-in for the
// host's own current context, counting OpenGL calls, and a render thread's started render data.

#include <gtest/gtest.h>

#include <memory>
#include <string>

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

}  // namespace gl_test
