// Several render threads at once, each on its own context in the start-up context's share
// group, drawing with the real programs while the others draw too.

#include <glbinding/Binding.h>
#include <glbinding/gl/gl.h>
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "gl/context_guard.h"
#include "gl/hidden_context.h"
#include "gl/render_data_registry.h"
#include "gl/render_resources.h"
#include "platform/testing.h"
#include "tests/gl/gl_test_support.h"

namespace {

using namespace gl;
using gl_test::Texels;

constexpr int kThreads = 4;
constexpr int kFrames = 20;
constexpr int kSize = 16;

TEST(RenderThreads, FourThreadsRenderAtOnceOnSharedContexts) {
    QUORVEL_REQUIRE_GL();
    platform_testing::Reset();
    const int contextsBefore = platform_testing::LiveContextCount();
    ASSERT_EQ(CreateSharedGLData(nullptr), PF_Err_NONE);

    // A texture made in the start-up context: every render context must see it.
    AESDK_OpenGL::GlTexture sharedTexture;
    {
        const AESDK_OpenGL::AESDK_OpenGL_ContextGuard guard;
        wglMakeCurrent(s_sharedGLData->deviceContext, s_sharedGLData->renderContext);
        glbinding::Binding::useCurrentContext();
        Texels texels(kSize * kSize, {0.25f, 0.5f, 0.75f, 1.0f});
        sharedTexture = gl_test::MakeTexture(kSize, kSize, texels);
        glFinish();
    }

    std::atomic<int> arrived{0};
    std::atomic<int> mismatches{0};
    std::atomic<int> framesDone{0};
    std::vector<std::thread> threads;
    for (int thread = 0; thread < kThreads; ++thread) {
        threads.emplace_back([&, thread] {
            const AESDK_OpenGL::AESDK_OpenGL_ContextGuard guard;
            auto renderData = AcquireThreadRenderData();
            AESDK_OpenGL::CreateHiddenContext(*renderData, s_sharedGLData.get());
            renderData->started = true;
            // Every thread has its context before any draws.
            ++arrived;
            while (arrived.load() < kThreads) {
                std::this_thread::yield();
            }
            for (int frame = 0; frame < kFrames; ++frame) {
                AESDK_OpenGL::MakeRenderDataCurrent(*renderData);
                AESDK_OpenGL::PrepareRenderResources(*renderData, kSize, kSize, false);
                // The thread's own input: an opaque grey that differs per thread and frame.
                const float grey = (thread * kFrames + frame + 1) / 128.0f;
                const AESDK_OpenGL::GlTexture input = gl_test::MakeTexture(
                    kSize, kSize, Texels(kSize * kSize, {1, grey, grey, grey}));
                gl_test::DrawConversionPass(*renderData, ShaderSlot_InputConversion, input.Name(),
                                            1.0f, renderData->passTextures[0].Name());
                for (const auto& pixel : gl_test::ReadPixels(kSize, kSize)) {
                    if (pixel[0] != grey || pixel[3] != 1.0f) {
                        ++mismatches;
                    }
                }
                gl_test::DrawConversionPass(*renderData, ShaderSlot_Copy, sharedTexture.Name(),
                                            1.0f, renderData->passTextures[1].Name());
                for (const auto& pixel : gl_test::ReadPixels(kSize, kSize)) {
                    if (pixel[0] != 0.25f || pixel[2] != 0.75f) {
                        ++mismatches;
                    }
                }
                ++framesDone;
            }
            glBindFramebuffer(GL_FRAMEBUFFER, 0);
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(framesDone.load(), kThreads * kFrames);
    EXPECT_EQ(mismatches.load(), 0);
    EXPECT_EQ(platform_testing::LiveContextCount(), contextsBefore + 1 + kThreads);

    {
        const AESDK_OpenGL::AESDK_OpenGL_ContextGuard guard;
        wglMakeCurrent(s_sharedGLData->deviceContext, s_sharedGLData->renderContext);
        glbinding::Binding::useCurrentContext();
        sharedTexture = AESDK_OpenGL::GlTexture();
    }
    EXPECT_EQ(DestroyGLDataOnThread(), PF_Err_NONE);
    EXPECT_EQ(platform_testing::LiveContextCount(), contextsBefore);
}

}  // namespace
