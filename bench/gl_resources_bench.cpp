// What the OpenGL layer costs a render thread: starting its context, the first preparation of
// its resources (five programs, three 1920 x 1080 float textures), a steady-state frame's
// preparation, a change of frame size, and one object's life through its owner.

#include <benchmark/benchmark.h>

#include <memory>

#include <glbinding/gl/gl.h>

#include "gl/context_guard.h"
#include "gl/gl_object.h"
#include "gl/hidden_context.h"
#include "gl/render_data.h"
#include "gl/render_data_registry.h"
#include "gl/render_resources.h"

namespace {

using AESDK_OpenGL::AESDK_OpenGL_EffectRenderData;

// The start-up context for the whole run (each context start prints its information block).
bool StartOpenGL() {
    static const bool started = CreateSharedGLData(nullptr) == PF_Err_NONE;
    return started;
}

std::unique_ptr<AESDK_OpenGL_EffectRenderData> StartedRenderData() {
    auto renderData = std::make_unique<AESDK_OpenGL_EffectRenderData>();
    AESDK_OpenGL::CreateHiddenContext(*renderData, s_sharedGLData.get());
    renderData->started = true;
    return renderData;
}

// A started render data, its context current; null, with the bench skipped, without OpenGL.
std::unique_ptr<AESDK_OpenGL_EffectRenderData> StartedRenderDataOrSkip(benchmark::State& state) {
    if (!StartOpenGL()) {
        state.SkipWithError("no OpenGL context");
        return nullptr;
    }
    return StartedRenderData();
}

void BM_StartRenderContext(benchmark::State& state) {
    if (!StartOpenGL()) {
        state.SkipWithError("no OpenGL context");
        return;
    }
    for (auto _ : state) {
        const AESDK_OpenGL::AESDK_OpenGL_ContextGuard guard;
        auto renderData = StartedRenderData();
        benchmark::DoNotOptimize(renderData->renderContext);
        state.PauseTiming();
        renderData.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartRenderContext)->Unit(benchmark::kMillisecond);

void BM_FirstPreparation(benchmark::State& state) {
    if (!StartOpenGL()) {
        state.SkipWithError("no OpenGL context");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        auto renderData = StartedRenderData();
        state.ResumeTiming();
        AESDK_OpenGL::PrepareRenderResources(*renderData, 1920, 1080, false);
        state.PauseTiming();
        renderData.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_FirstPreparation)->Unit(benchmark::kMillisecond);

void BM_SteadyPreparation(benchmark::State& state) {
    auto renderData = StartedRenderDataOrSkip(state);
    if (!renderData) {
        return;
    }
    AESDK_OpenGL::PrepareRenderResources(*renderData, 1920, 1080, false);
    for (auto _ : state) {
        AESDK_OpenGL::PrepareRenderResources(*renderData, 1920, 1080, false);
    }
}
BENCHMARK(BM_SteadyPreparation);

void BM_SizeChange(benchmark::State& state) {
    auto renderData = StartedRenderDataOrSkip(state);
    if (!renderData) {
        return;
    }
    bool large = false;
    for (auto _ : state) {
        large = !large;
        AESDK_OpenGL::PrepareRenderResources(*renderData, large ? 1920 : 1280, large ? 1080 : 720,
                                             false);
    }
}
BENCHMARK(BM_SizeChange)->Unit(benchmark::kMicrosecond);

// A texture name made and deleted by hand (0) and through its owner (1), as a frame does with
// each of its own textures: the owner adds a look at the current context to each end.
void BM_TextureLife(benchmark::State& state) {
    auto renderData = StartedRenderDataOrSkip(state);
    if (!renderData) {
        return;
    }
    const bool owned = state.range(0) != 0;
    for (auto _ : state) {
        if (owned) {
            const AESDK_OpenGL::GlTexture texture = AESDK_OpenGL::GlTexture::Create();
            benchmark::DoNotOptimize(texture.Name());
        } else {
            gl::GLuint name = 0;
            gl::glGenTextures(1, &name);
            benchmark::DoNotOptimize(name);
            gl::glDeleteTextures(1, &name);
        }
    }
}
BENCHMARK(BM_TextureLife)->ArgName("owned")->Arg(0)->Arg(1);

}  // namespace

BENCHMARK_MAIN();
