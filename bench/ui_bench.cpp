// The cost of the custom UI's events through the replacement host: drawing one ramp editor
// (its curve image, outline and key squares on a Cairo canvas), one drag step of a key point,
// and the mask names over a composition window.
#include <benchmark/benchmark.h>

#include "host/drawbot_objects.h"
#include "host/host.h"
#include "host/layer_masks.h"
#include "host/ui_events.h"
#include "host/ui_window.h"
#include "shell/params/param_index.h"

namespace {

using quorvel::host::EffectControl;
using quorvel::host::Host;
using quorvel::host::UiEvents;
using quorvel::host::UiWindow;

constexpr PF_ParamIndex kRamp = 13;
const EffectControl kControl = {kRamp, PF_Rect{0, 0, 150, 140}};

// A host with the module set up and its parameters made.
void Start(Host& host) {
    host.Register();
    host.effect().Send(PF_Cmd_GLOBAL_SETUP);
    host.effect().Send(PF_Cmd_PARAMS_SETUP);
}

void BM_DrawRampEditor(benchmark::State& state) {
    Host host(QUORVEL_MODULE_PATH);
    Start(host);
    UiWindow window(PF_Window_EFFECT, 150, 140);
    UiEvents events(host.effect(), window);
    for (auto _ : state) {
        benchmark::DoNotOptimize(events.Draw(&kControl).command.err);
        host.State<quorvel::host::DrawbotObjects>().ForgetRecords();
    }
}
BENCHMARK(BM_DrawRampEditor);

void BM_DragRampPoint(benchmark::State& state) {
    Host host(QUORVEL_MODULE_PATH);
    Start(host);
    UiWindow window(PF_Window_EFFECT, 150, 140);
    UiEvents events(host.effect(), window);
    // The curve's first key sits at the plot's bottom left corner; each step moves it back and
    // forth.
    PF_EventExtra drag = events.Click(PF_Point{6, 134}, 1, PF_Mod_NONE, &kControl).extra;
    drag.e_type = PF_Event_DRAG;
    long step = 0;
    for (auto _ : state) {
        drag.u.do_click.screen_point = PF_Point{static_cast<A_long>(6 + step++ % 2 * 20), 40};
        drag = events.Send(drag).extra;
        benchmark::DoNotOptimize(drag.evt_out_flags);
    }
}
BENCHMARK(BM_DragRampPoint);

void BM_DrawMaskNames(benchmark::State& state) {
    Host host(QUORVEL_MODULE_PATH);
    Start(host);
    quorvel::host::ParamValue on;
    on.number = 1;
    host.effect().parameters().SetValue(PARAM_SHOW_MASKS_NAMES, on);
    quorvel::host::LayerMask first;
    first.name = "Mask 1";
    first.vertices = {quorvel::host::MaskVertexAt(20, 30), quorvel::host::MaskVertexAt(200, 40)};
    quorvel::host::LayerMask second = first;
    second.name = "Mask 2";
    second.vertices[0].y = 150;
    host.State<quorvel::host::LayerMasks>().Set({first, second});
    UiWindow window(PF_Window_COMP, 320, 200);
    UiEvents events(host.effect(), window);
    for (auto _ : state) {
        benchmark::DoNotOptimize(events.Draw().command.err);
        host.State<quorvel::host::DrawbotObjects>().ForgetRecords();
    }
}
BENCHMARK(BM_DrawMaskNames);

}  // namespace

BENCHMARK_MAIN();
