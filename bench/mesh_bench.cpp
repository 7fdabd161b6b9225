// The mesh builder at the largest grid of valid base points (1000 x 200 = 200000 vertices),
// with strips and without, on one and on four threads at once: the vertex fill alone into
// memory, and BuildMesh whole (both masks sampled through the host's path suites, the mesh
// written into the mapped buffers of each thread's own context).
#include <cstdint>
#include <memory>
#include <vector>

#include <benchmark/benchmark.h>

#include "gl/hidden_context.h"
#include "gl/render_data_registry.h"
#include "platform/win32.h"
#include "ramp/scoped_ramp.h"
#include "render/mesh_builder.h"
#include "render/mesh_fill.h"
#include "render/mesh_indices.h"
#include "shell/params/render_settings.h"
#include "tests/render/render_test_host.h"

namespace {

// Two wavy masks across a 1920 x 1080 frame.
MaskBasePoints Wave(int count, double y) {
    MaskBasePoints table;
    for (int j = 0; j < count; ++j) {
        const double key = static_cast<double>(j) / (count - 1);
        table[key] = MaskPoint{1920.0 * key, y + 80.0 * (j % 7) / 7.0};
    }
    return table;
}

void FillMesh(benchmark::State& state) {
    const bool strips = state.range(0) != 0;
    ScopedRamp quorvelRamp(RampMode_All, RampInterpolation_Bezier,
                           {{0.0f, 0.2f}, {0.4f, 0.9f}, {1.0f, 0.1f}});
    ScopedRamp perpendicular(RampMode_All, RampInterpolation_Sin, {{0.0f, 1.0f}, {1.0f, 0.3f}});

    const MaskBasePoints mask1 = Wave(1000, 200.0);
    const MaskBasePoints mask2 = Wave(1000, 800.0);
    const MeshGrid grid{&mask1, &mask2, 2, 1000, 200, 0, static_cast<uint8_t>(strips), 100};
    const MeshShape shape = MeshShapeOf(grid);
    MeshFrame frame{};
    frame.width = 1920;
    frame.height = 1080;
    frame.hostWidth = 1920;
    frame.hostHeight = 1080;
    frame.quorvelFactor = 100.0;
    frame.randomFactor = 0.3f;
    frame.windowStart = -0.25;
    frame.windowEnd = 0.75;
    std::vector<float> positions(static_cast<size_t>(shape.strips) + 1);
    for (size_t k = 0; k < positions.size(); ++k) {
        positions[k] = static_cast<float>(k) / static_cast<float>(shape.strips);
    }
    std::vector<MeshVertex> vertices(static_cast<size_t>(shape.vertexCount));
    std::vector<uint32_t> indices(static_cast<size_t>(shape.triangleIndexCount));
    for (auto _ : state) {
        FillMeshVertices(grid, shape, frame, {positions, *quorvelRamp, *perpendicular},
                         vertices.data());
        FillTriangleIndices(shape, indices.data());
        benchmark::DoNotOptimize(vertices.data());
        benchmark::DoNotOptimize(indices.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * shape.vertexCount);
    state.counters["ns_per_vertex"] = benchmark::Counter(
        static_cast<double>(shape.vertexCount) * static_cast<double>(state.iterations()),
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["vertices"] = static_cast<double>(shape.vertexCount);
}
BENCHMARK(FillMesh)->ArgName("strips")->Arg(0)->Arg(1)->Threads(1)->Threads(4)->UseRealTime()->Unit(
    benchmark::kMillisecond);

// What every BuildMesh thread shares: the host with two wavy masks, and the ramps.
struct BuildScene {
    BuildScene() {
        for (int m = 0; m < 2; ++m) {
            quorvel::host::MaskShape shape;
            shape.closed = false;
            for (int v = 0; v <= 8; ++v) {
                shape.vertices.push_back(quorvel::host::MaskVertex{
                    {240.0 * v, 200.0 + 600.0 * m + 60.0 * (v % 2)}, {-80, 0}, {80, 0}});
            }
            ids[m] = test.AddMask(shape);
        }
    }

    RenderTestHost test;
    RampHandle even{test.host, RampInterpolation_Sin, {{0.0f, 0.5f}, {1.0f, 0.5f}}};
    RampHandle shaping{
        test.host, RampInterpolation_Bezier, {{0.0f, 0.2f}, {0.4f, 0.9f}, {1.0f, 0.1f}}};
    RampHandle perpendicular{test.host, RampInterpolation_Sin, {{0.0f, 1.0f}, {1.0f, 0.3f}}};
    PF_PathID ids[2] = {0, 0};
};
BuildScene* g_scene = nullptr;

void BuildWholeMesh(benchmark::State& state) {
    std::shared_ptr<AESDK_OpenGL::AESDK_OpenGL_EffectRenderData> renderData =
        AcquireThreadRenderData();
    if (!renderData->started) {
        AESDK_OpenGL::CreateHiddenContext(*renderData, s_sharedGLData.get());
        renderData->started = true;
    }
    AESDK_OpenGL::MakeRenderDataCurrent(*renderData);

    PF_InData inData = g_scene->test.inData;
    inData.width = 1920;
    inData.height = 1080;
    RenderSettings settings{};
    SetMeshSettings(settings, &inData, g_scene->ids,
                    {g_scene->even.handle, g_scene->shaping.handle, g_scene->perpendicular.handle,
                     g_scene->even.handle});
    settings.alongBasePoints = 1000;
    settings.acrossBasePoints = 200;
    settings.stripsEnable = state.range(0) != 0 ? 1 : 0;

    MeshIndexCounts counts{0, 0};
    for (auto _ : state) {
        SuiteHandler suites(inData.pica_basicP);
        counts = BuildMesh(MeshBuildFrame(inData, suites, settings, *renderData));
        benchmark::DoNotOptimize(counts);
    }
    state.SetItemsProcessed(state.iterations() * 200000);
    state.counters["ns_per_vertex"] =
        benchmark::Counter(200000.0 * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["triangle_indices"] = counts.triangleIndexCount;
    wglMakeCurrent(nullptr, nullptr);
}
BENCHMARK(BuildWholeMesh)
    ->ArgName("strips")
    ->Arg(0)
    ->Arg(1)
    ->Threads(1)
    ->Threads(4)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    BuildScene scene;
    g_scene = &scene;
    if (CreateSharedGLData(nullptr) != PF_Err_NONE) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    DestroyGLDataOnThread();
    g_scene = nullptr;
    benchmark::Shutdown();
    return 0;
}
