// The cost of the parameter set-up and of one frame's settings snapshot through the
// replacement host (nine ramp copies made by the effect and disposed again per frame).
#include <benchmark/benchmark.h>

#include "host/host.h"
#include "shell/params/render_settings.h"

namespace {

using quorvel::host::EffectInstance;
using quorvel::host::Host;

void BM_ParamsSetup(benchmark::State& state) {
    for (auto _ : state) {
        // Each set-up needs an instance of its own; loading it is not what is measured.
        state.PauseTiming();
        {
            Host host(QUORVEL_MODULE_PATH);
            host.Register();
            state.ResumeTiming();
            benchmark::DoNotOptimize(host.effect().Send(PF_Cmd_PARAMS_SETUP).err);
            state.PauseTiming();
        }
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ParamsSetup)->Unit(benchmark::kMicrosecond);

void BM_SnapshotCheckoutAndCheckin(benchmark::State& state) {
    Host host(QUORVEL_MODULE_PATH);
    host.Register();
    host.effect().Send(PF_Cmd_PARAMS_SETUP);
    PF_InData in = {};
    in.inter.checkout_param = &EffectInstance::CheckoutParam;
    in.inter.checkin_param = &EffectInstance::CheckinParam;
    in.effect_ref = &host.effect();
    in.time_step = 100;
    in.time_scale = 2400;
    RenderSettings settings;
    settings.inData = &in;
    for (auto _ : state) {
        benchmark::DoNotOptimize(settings.CheckoutAll());
        benchmark::DoNotOptimize(settings.CheckinAll(&in));
    }
}
BENCHMARK(BM_SnapshotCheckoutAndCheckin)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
