// The mesh builder's vertex fill: the largest grid of valid base points (1000 x 200 =
// 200000 vertices), with strips and without, on one and on four threads at once.
#include <cstdint>
#include <vector>

#include <benchmark/benchmark.h>

#include "ramp/scoped_ramp.h"
#include "render/mesh_fill.h"
#include "render/mesh_indices.h"
#include "shell/locked_handle.h"

namespace {

// The ramps are locked through a handle suite whose lock gives the master pointer.
void* Lock(PF_Handle handle) {
    return *handle;
}
void Unlock(PF_Handle) {}
const PF_HandleSuite2 kHandleSuite = {nullptr, &Lock, &Unlock, nullptr, nullptr, nullptr};
SPErr Acquire(const char*, A_long, const void** suite) {
    *suite = &kHandleSuite;
    return 0;
}
SPErr Release(const char*, A_long) {
    return 0;
}
SPBasicSuite g_basic = {&Acquire, &Release, nullptr, nullptr, nullptr, nullptr, nullptr};

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
    void* master = &quorvelRamp.ramp;
    SuiteHandler suites(&g_basic);
    const LockedHandle quorvel(&suites, &master);

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
        FillMeshVertices(grid, shape, frame, positions, quorvel, *perpendicular, vertices.data());
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

}  // namespace

BENCHMARK_MAIN();
