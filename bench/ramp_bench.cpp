#include <vector>

#include <benchmark/benchmark.h>

#include "ramp/ramp.h"
#include "ramp/ramp_lookup.h"
#include "ramp/scoped_ramp.h"

namespace {

constexpr int kLookupSamples = 2048;

// keys evenly spread over [0, 1] with values that go up and down.
void FillKeys(Ramp* ramp, int keys) {
    for (int i = 0; i < keys; ++i) {
        (*ramp->points)[float(i) / float(keys - 1)] = float((i * 7919) % 13) / 12.0f;
    }
}

const char* const kInterpolationNames[] = {"sin", "line", "step", "bezier"};

// One evaluation at a time, x walking the lookup positions.
void BM_Evaluate(benchmark::State& state) {
    ScopedRamp ramp(RampMode_All, int32_t(state.range(0)));
    FillKeys(&*ramp, int(state.range(1)));
    state.SetLabel(kInterpolationNames[state.range(0)]);
    int i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ramp->Evaluate(float(i) / float(kLookupSamples - 1)));
        i = (i + 1) % kLookupSamples;
    }
}
BENCHMARK(BM_Evaluate)->ArgsProduct({{0, 1, 2, 3}, {2, 4, 32}});

// The 2048 samples of one lookup texture, one Evaluate each.
void BM_LookupFillByEvaluate(benchmark::State& state) {
    ScopedRamp ramp(RampMode_All, int32_t(state.range(0)));
    FillKeys(&*ramp, int(state.range(1)));
    state.SetLabel(kInterpolationNames[state.range(0)]);
    std::vector<float> lookup(kLookupSamples);
    for (auto _ : state) {
        for (int i = 0; i < kLookupSamples; ++i) {
            lookup[size_t(i)] = ramp->Evaluate(float(i) / float(kLookupSamples - 1));
        }
        benchmark::DoNotOptimize(lookup.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_LookupFillByEvaluate)
    ->ArgsProduct({{0, 1, 2, 3}, {4, 32}})
    ->Unit(benchmark::kMicrosecond);

// The same samples through the segment walk.
void BM_LookupFill(benchmark::State& state) {
    ScopedRamp ramp(RampMode_All, int32_t(state.range(0)));
    FillKeys(&*ramp, int(state.range(1)));
    state.SetLabel(kInterpolationNames[state.range(0)]);
    std::vector<float> lookup(kLookupSamples);
    for (auto _ : state) {
        FillRampLookup(*ramp, lookup.data(), kLookupSamples);
        benchmark::DoNotOptimize(lookup.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_LookupFill)->ArgsProduct({{0, 1, 2, 3}, {4, 32}})->Unit(benchmark::kMicrosecond);

void BM_DistributePositions(benchmark::State& state) {
    ScopedRamp ramp(RampMode_All, RampInterpolation_Line);
    FillKeys(&*ramp, 4);
    for (auto _ : state) {
        benchmark::DoNotOptimize(ramp->DistributePositions(int(state.range(0))));
    }
}
BENCHMARK(BM_DistributePositions)->Arg(2)->Arg(100)->Arg(1000);

}  // namespace

BENCHMARK_MAIN();
