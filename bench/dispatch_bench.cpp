// The cost of one command through the replacement host and the module's dispatch.
#include <benchmark/benchmark.h>

#include "host/host.h"

namespace {

using quorvel::host::Host;

void PutAnimateCheckbox(Host& host) {
    auto& parameters = host.effect().parameters();
    PF_ParamDef filler = {};
    filler.param_type = PF_Param_NO_DATA;
    while (parameters.Count() < 65) {
        parameters.Append(filler);
    }
    PF_ParamDef checkbox = {};
    checkbox.param_type = PF_Param_CHECKBOX;
    checkbox.u.bd.value = 1;
    parameters.Append(checkbox);
}

void BM_About(benchmark::State& state) {
    Host host(QUORVEL_MODULE_PATH);
    host.Register();
    for (auto _ : state) {
        benchmark::DoNotOptimize(host.effect().Send(PF_Cmd_ABOUT).err);
    }
}
BENCHMARK(BM_About);

void BM_QueryDynamicFlags(benchmark::State& state) {
    Host host(QUORVEL_MODULE_PATH);
    host.Register();
    PutAnimateCheckbox(host);
    for (auto _ : state) {
        benchmark::DoNotOptimize(host.effect().Send(PF_Cmd_QUERY_DYNAMIC_FLAGS).err);
    }
}
BENCHMARK(BM_QueryDynamicFlags);

void BM_SmartPreRender(benchmark::State& state) {
    Host host(QUORVEL_MODULE_PATH);
    host.Register();
    PF_RenderRequest request = {};
    request.rect = {0, 0, 320, 200};
    for (auto _ : state) {
        benchmark::DoNotOptimize(host.effect().SmartPreRender(request).command.err);
    }
}
BENCHMARK(BM_SmartPreRender);

void BM_SequenceSetupAndSetdown(benchmark::State& state) {
    Host host(QUORVEL_MODULE_PATH);
    host.Register();
    for (auto _ : state) {
        host.effect().Send(PF_Cmd_SEQUENCE_SETUP);
        benchmark::DoNotOptimize(host.effect().Send(PF_Cmd_SEQUENCE_SETDOWN).err);
    }
}
BENCHMARK(BM_SequenceSetupAndSetdown);

}  // namespace

BENCHMARK_MAIN();
