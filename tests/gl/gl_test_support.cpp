#include "tests/gl/gl_test_support.h"

#include <glbinding/Binding.h>
#include <glbinding/CallbackMask.h>
#include <glbinding/callbacks.h>
#include <glbinding/AbstractFunction.h>
#include <glbinding/gl/gl.h>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <thread>

#include "gl/context_guard.h"
#include "gl/framebuffer.h"
#include "gl/hidden_context.h"
#include "gl/render_data_registry.h"
#include "gl/render_resources.h"
#include "gl/shader_program.h"

namespace gl_test {

using namespace gl;

namespace {

std::atomic<int> s_hostClassCounter{0};

const char* const kCreationFunctions[] = {"glGenTextures",     "glGenBuffers",
                                          "glGenFramebuffers", "glGenVertexArrays",
                                          "glCreateProgram",   "glCreateShader"};
const char* const kDeletionFunctions[] = {"glDeleteTextures",     "glDeleteBuffers",
                                          "glDeleteFramebuffers", "glDeleteVertexArrays",
                                          "glDeleteProgram",      "glDeleteShader"};

std::mutex s_countsMutex;
std::map<std::string, int> s_counts;

void MakeWindow(HostContext& host) {
    host.className = "QuorvelTestHost" + std::to_string(s_hostClassCounter.fetch_add(1));
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof(WNDCLASSEXA);
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.lpszClassName = host.className.c_str();
    if (RegisterClassExA(&windowClass) == 0) {
        return;
    }
    host.window = CreateWindowExA(0, host.className.c_str(), "host", 0, 0, 0, 8, 8, nullptr,
                                  nullptr, nullptr, nullptr);
    if (host.window == nullptr) {
        return;
    }
    host.deviceContext = GetDC(host.window);
    PIXELFORMATDESCRIPTOR pixelFormat = {};
    pixelFormat.nSize = sizeof(PIXELFORMATDESCRIPTOR);
    pixelFormat.nVersion = 1;
    pixelFormat.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL;
    pixelFormat.iPixelType = PFD_TYPE_RGBA;
    pixelFormat.cColorBits = 32;
    const int format = ChoosePixelFormat(host.deviceContext, &pixelFormat);
    if (format != 0 && SetPixelFormat(host.deviceContext, format, &pixelFormat) != FALSE) {
        host.context = wglCreateContext(host.deviceContext);
    }
}

}  // namespace

bool ContextAvailable() {
    static const bool available = [] {
        const HostContext probe;
        return probe.context != nullptr && probe.IsCurrent();
    }();
    return available;
}

HostContext::HostContext() {
    MakeWindow(*this);
    if (context != nullptr) {
        wglMakeCurrent(deviceContext, context);
    }
}

HostContext::~HostContext() {
    if (context != nullptr) {
        if (wglGetCurrentContext() == context) {
            wglMakeCurrent(nullptr, nullptr);
        }
        wglDeleteContext(context);
    }
    if (deviceContext != nullptr) {
        ReleaseDC(window, deviceContext);
    }
    if (window != nullptr) {
        DestroyWindow(window);
    }
    UnregisterClassA(className.c_str(), nullptr);
}

bool HostContext::IsCurrent() const {
    return context != nullptr && wglGetCurrentContext() == context &&
           wglGetCurrentDC() == deviceContext;
}

GLCallCounter::GLCallCounter() {
    Clear();
    glbinding::setAfterCallback([](const glbinding::FunctionCall& call) {
        std::lock_guard<std::mutex> lock(s_countsMutex);
        ++s_counts[call.function->name()];
    });
    glbinding::setCallbackMask(glbinding::CallbackMask::After);
}

GLCallCounter::~GLCallCounter() {
    glbinding::setCallbackMask(glbinding::CallbackMask::None);
    glbinding::setAfterCallback(nullptr);
}

int GLCallCounter::Count(const std::string& function) const {
    std::lock_guard<std::mutex> lock(s_countsMutex);
    const auto found = s_counts.find(function);
    return found != s_counts.end() ? found->second : 0;
}

int GLCallCounter::Total() const {
    std::lock_guard<std::mutex> lock(s_countsMutex);
    int total = 0;
    for (const auto& entry : s_counts) {
        total += entry.second;
    }
    return total;
}

int GLCallCounter::Creations() const {
    int total = 0;
    for (const char* function : kCreationFunctions) {
        total += Count(function);
    }
    return total;
}

int GLCallCounter::Deletions() const {
    int total = 0;
    for (const char* function : kDeletionFunctions) {
        total += Count(function);
    }
    return total;
}

void GLCallCounter::Clear() {
    std::lock_guard<std::mutex> lock(s_countsMutex);
    s_counts.clear();
}

void RenderDataTest::SetUp() {
    QUORVEL_REQUIRE_GL();
    ASSERT_EQ(CreateSharedGLData(nullptr), PF_Err_NONE);
    renderData = AcquireThreadRenderData();
    AESDK_OpenGL::CreateHiddenContext(*renderData, s_sharedGLData.get());
    renderData->started = true;
    AESDK_OpenGL::MakeRenderDataCurrent(*renderData);
}

void RenderDataTest::TearDown() {
    if (!ContextAvailable()) {
        return;
    }
    wglMakeCurrent(nullptr, nullptr);
    renderData.reset();
    EXPECT_EQ(DestroyGLDataOnThread(), PF_Err_NONE);
}

AESDK_OpenGL::GlTexture MakeFloatTexture(GLenum internalFormat, GLenum format, GLenum filter,
                                         int width, int height, const float* data) {
    AESDK_OpenGL::GlTexture texture = AESDK_OpenGL::GlTexture::Create();
    glBindTexture(GL_TEXTURE_2D, texture.Name());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexImage2D(GL_TEXTURE_2D, 0, internalFormat, width, height, 0, format, GL_FLOAT, data);
    glBindTexture(GL_TEXTURE_2D, 0);
    return texture;
}

AESDK_OpenGL::GlTexture MakeTexture(int width, int height, const Texels& texels) {
    return MakeFloatTexture(GL_RGBA32F, GL_RGBA, GL_NEAREST, width, height, texels[0].data());
}

std::weak_ptr<AESDK_OpenGL::AESDK_OpenGL_EffectRenderData> RenderOnEndedThread(int width,
                                                                               int height) {
    std::weak_ptr<AESDK_OpenGL::AESDK_OpenGL_EffectRenderData> watched;
    std::thread([&watched, width, height] {
        const AESDK_OpenGL::AESDK_OpenGL_ContextGuard guard;
        auto renderData = AcquireThreadRenderData();
        AESDK_OpenGL::CreateHiddenContext(*renderData, s_sharedGLData.get());
        renderData->started = true;
        AESDK_OpenGL::MakeRenderDataCurrent(*renderData);
        AESDK_OpenGL::PrepareRenderResources(*renderData, static_cast<std::uint16_t>(width),
                                             static_cast<std::uint16_t>(height), false);
        watched = renderData;
    }).join();
    return watched;
}

Texels ReadPixels(int width, int height) {
    Texels pixels(static_cast<size_t>(width) * height);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_FLOAT, pixels.data());
    return pixels;
}

std::array<float, 16> PixelProjection(int width, int height) {
    return {2.0f / width, 0, 0, 0, 0, 2.0f / height, 0, 0, 0, 0, 1, 0, -1, -1, 0, 1};
}

void BeginPass(AESDK_OpenGL::AESDK_OpenGL_EffectRenderData& renderData, GLuint program,
               GLuint target, int width, int height) {
    AESDK_OpenGL::AttachRenderTexture(renderData, target);
    glViewport(0, 0, width, height);
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_BLEND);
    glUseProgram(program);
    const std::array<float, 16> projection = PixelProjection(width, height);
    glUniformMatrix4fv(glGetUniformLocation(program, "ModelviewProjection"), 1, GL_FALSE,
                       projection.data());
}

void DrawConversionPass(AESDK_OpenGL::AESDK_OpenGL_EffectRenderData& renderData, int slot,
                        GLuint texture, float multiplier16bit, GLuint target) {
    const GLuint program = renderData.programs[slot].Name();
    BeginPass(renderData, program, target, renderData.width, renderData.height);
    glUniform1f(glGetUniformLocation(program, "multiplier16bit"), multiplier16bit);
    AESDK_OpenGL::BindTextureToSampler(program, texture, "inputTexture", 0);
    glBindVertexArray(renderData.quadVertexArray.Name());
    glEnableVertexAttribArray(0);
    glEnableVertexAttribArray(5);
    glBindBuffer(GL_ARRAY_BUFFER, renderData.quadVertexBuffer.Name());
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, sizeof(QuadVertex), nullptr);
    glVertexAttribPointer(5, 2, GL_FLOAT, GL_FALSE, sizeof(QuadVertex),
                          reinterpret_cast<const void*>(3 * sizeof(float)));
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    glDisableVertexAttribArray(0);
    glDisableVertexAttribArray(5);
    glBindVertexArray(0);
    glUseProgram(0);
}

}  // namespace gl_test
