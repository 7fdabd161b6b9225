#include "host/ui_events.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "host/host.h"

namespace quorvel::host {

namespace {

double FromFixed(PF_Fixed value) {
    return value / 65536.0;
}

PF_Fixed ToFixed(double value) {
    return static_cast<PF_Fixed>(std::lround(value * 65536.0));
}

// The window of a callback, counted; null (and the point untouched) when the call fails.
UiWindow* CallbackWindow(void* refcon, PF_ContextH context, const PF_FixedPoint* point,
                         const char* function, PF_Err* err) {
    auto* window = static_cast<UiWindow*>(refcon);
    *err = PF_Err_NONE;
    if (const auto fault = Host::Current().faults().Enter(function)) {
        *err = fault->Result(PF_Err_NONE);
        return nullptr;
    }
    if (window == nullptr || point == nullptr || UiWindow::FromContext(context) != window) {
        Host::Current().ledger().Misuse(std::string(function) +
                                        " with a foreign refcon or context");
        *err = PF_Err_BAD_CALLBACK_PARAM;
        return nullptr;
    }
    return window;
}

PF_Err LayerToComp(void* refcon, PF_ContextH context, A_long, A_long, PF_FixedPoint* point) {
    PF_Err err;
    UiWindow* window = CallbackWindow(refcon, context, point, "layer_to_comp", &err);
    if (window != nullptr) {
        ++window->layerToCompCalls;
        const UiView& view = window->view;
        point->x = ToFixed(view.layerX + FromFixed(point->x) * view.layerScale);
        point->y = ToFixed(view.layerY + FromFixed(point->y) * view.layerScale);
    }
    return err;
}

PF_Err CompToLayer(void* refcon, PF_ContextH context, A_long, A_long, PF_FixedPoint* point) {
    PF_Err err;
    UiWindow* window = CallbackWindow(refcon, context, point, "comp_to_layer", &err);
    if (window != nullptr) {
        const UiView& view = window->view;
        point->x = ToFixed((FromFixed(point->x) - view.layerX) / view.layerScale);
        point->y = ToFixed((FromFixed(point->y) - view.layerY) / view.layerScale);
    }
    return err;
}

PF_Err SourceToFrame(void* refcon, PF_ContextH context, PF_FixedPoint* point) {
    PF_Err err;
    UiWindow* window = CallbackWindow(refcon, context, point, "source_to_frame", &err);
    if (window != nullptr) {
        ++window->sourceToFrameCalls;
        const UiView& view = window->view;
        point->x = ToFixed(view.panX + FromFixed(point->x) * view.zoom);
        point->y = ToFixed(view.panY + FromFixed(point->y) * view.zoom);
    }
    return err;
}

PF_Err FrameToSource(void* refcon, PF_ContextH context, PF_FixedPoint* point) {
    PF_Err err;
    UiWindow* window = CallbackWindow(refcon, context, point, "frame_to_source", &err);
    if (window != nullptr) {
        const UiView& view = window->view;
        point->x = ToFixed((FromFixed(point->x) - view.panX) / view.zoom);
        point->y = ToFixed((FromFixed(point->y) - view.panY) / view.zoom);
    }
    return err;
}

}  // namespace

PF_EventExtra UiEvents::Record(PF_EventType type, const EffectControl* control) {
    PF_EventExtra extra = {};
    extra.contextH = window_.Context();
    extra.e_type = type;
    extra.cbs.refcon = &window_;
    extra.cbs.layer_to_comp = &LayerToComp;
    extra.cbs.comp_to_layer = &CompToLayer;
    extra.cbs.source_to_frame = &SourceToFrame;
    extra.cbs.frame_to_source = &FrameToSource;
    if (control != nullptr) {
        extra.effect_win.index = control->index;
        extra.effect_win.area = control->area;
        extra.effect_win.current_frame = control->frame;
    }
    if (type == PF_Event_DRAW) {
        extra.u.draw.update_rect =
            control != nullptr ? control->frame
                               : PF_Rect{0, 0, window_.canvas().Width(), window_.canvas().Height()};
        extra.u.draw.depth = 32;
    }
    return extra;
}

UiEvent UiEvents::Send(PF_EventExtra extra) {
    UiEvent event;
    event.command = effect_.Send(PF_Cmd_EVENT, &extra);
    event.extra = extra;
    return event;
}

UiEvent UiEvents::Draw(const EffectControl* control) {
    return Send(Record(PF_Event_DRAW, control));
}

UiEvent UiEvents::Other(PF_EventType type, const EffectControl* control) {
    return Send(Record(type, control));
}

UiEvent UiEvents::Click(PF_Point point, A_long clicks, PF_Modifiers modifiers,
                        const EffectControl* control) {
    PF_EventExtra extra = Record(PF_Event_DO_CLICK, control);
    extra.u.do_click.screen_point = point;
    extra.u.do_click.num_clicks = clicks;
    extra.u.do_click.modifiers = modifiers;
    return Send(extra);
}

std::vector<UiEvent> UiEvents::Drag(PF_Point press, const std::vector<PF_Point>& moves,
                                    const EffectControl* control, bool dragsAsClicks,
                                    PF_Modifiers modifiers) {
    std::vector<UiEvent> events;
    events.push_back(Click(press, 1, modifiers, control));
    for (size_t i = 0; i < moves.size() && events.back().extra.u.do_click.send_drag != 0; ++i) {
        const PF_DoClickEventInfo& before = events.back().extra.u.do_click;
        PF_EventExtra extra = Record(dragsAsClicks ? PF_Event_DO_CLICK : PF_Event_DRAG, control);
        extra.u.do_click.screen_point = moves[i];
        extra.u.do_click.num_clicks = 1;
        extra.u.do_click.modifiers = modifiers;
        std::copy(std::begin(before.continue_refcon), std::end(before.continue_refcon),
                  std::begin(extra.u.do_click.continue_refcon));
        extra.u.do_click.send_drag = 1;
        extra.u.do_click.last_time = i + 1 == moves.size() ? 1 : 0;
        events.push_back(Send(extra));
    }
    return events;
}

}  // namespace quorvel::host
