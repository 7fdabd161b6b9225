#include <iterator>

#include "ramp/ramp.h"
#include "shell/toolkit/locked_handle.h"
#include "shell/toolkit/suite_handler.h"
#include "ui/ramp_editor.h"
#include "ui/ramp_editor_plot.h"

namespace {

// One step of the Ctrl-click cycle: the interpolation that follows another in a mode.
struct InterpolationStep {
    RampMode mode;
    RampInterpolation before;
    RampInterpolation after;
};

// RampMode_All cycles sin, bezier, line, step; RampMode_WithoutSin leaves sin for line and
// then alternates line and step. Anything not listed stays as it is.
constexpr InterpolationStep kInterpolationCycle[] = {
    {RampMode_All, RampInterpolation_Sin, RampInterpolation_Bezier},
    {RampMode_All, RampInterpolation_Bezier, RampInterpolation_Line},
    {RampMode_All, RampInterpolation_Line, RampInterpolation_Step},
    {RampMode_All, RampInterpolation_Step, RampInterpolation_Sin},
    {RampMode_WithoutSin, RampInterpolation_Sin, RampInterpolation_Line},
    {RampMode_WithoutSin, RampInterpolation_Line, RampInterpolation_Step},
    {RampMode_WithoutSin, RampInterpolation_Step, RampInterpolation_Line},
};

// A dragged key is moved off an occupied key by this much, toward the middle of the range.
constexpr float kFreeKeyStep = 0.001f;

void NextInterpolation(Ramp& ramp) {
    for (const InterpolationStep& step : kInterpolationCycle) {
        if (ramp.mode == step.mode && ramp.interpolation == step.before) {
            ramp.interpolation = step.after;
            return;
        }
    }
}

void MarkChanged(PF_ParamDef* param) {
    param->uu.change_flags = PF_ChangeFlag_CHANGED_VALUE;
}

// First a value of 1 or more becomes 1, then one not above 0 (a NaN too) becomes 0.
float ClampToUnit(float value) {
    if (value >= 1.0f) {
        value = 1.0f;
    }
    if (!(value > 0.0f)) {
        value = 0.0f;
    }
    return value;
}

bool InsideFrame(const PF_Rect& frame, const PF_Point& point) {
    return frame.left <= point.h && point.h <= frame.right && frame.top <= point.v &&
           point.v <= frame.bottom;
}

// What a click or a drag works on: the plot, the edited parameter with its value handle
// locked for the event (the Ramp is read where it is first needed) and the event.
struct RampEvent {
    const RampPlot& plot;
    const LockedHandle& locked;
    PF_ParamDef* param;
    PF_EventExtra* extra;
};

// Runs handle when the event is one the click and drag work on: the control area, with a plot
// that has room on both axes. Always PF_Err_NONE; failures are raised.
PF_Err OnEditableRamp(PF_InData* in_data, PF_ParamDef* params[], PF_EventExtra* extra,
                      void (*handle)(const RampEvent& event)) {
    const RampPlot plot = RampPlot::Of(extra->effect_win.current_frame);
    if (extra->effect_win.area != PF_EA_CONTROL || !plot.HasArea()) {
        return PF_Err_NONE;
    }
    SuiteHandler suites(in_data->pica_basicP);
    const LockedHandle locked(&suites, RampValueHandle(in_data, params, extra));
    handle(RampEvent{plot, locked, params[extra->effect_win.index], extra});
    return PF_Err_NONE;
}

void MarkHandled(const RampEvent& event) {
    event.extra->evt_out_flags = PF_EO_HANDLED_EVENT;
}

void Click(const RampEvent& event) {
    const RampPlot& plot = event.plot;
    PF_DoClickEventInfo& click = event.extra->u.do_click;
    if (!InsideFrame(plot.frame, click.screen_point)) {
        return;
    }
    if ((click.modifiers & PF_Mod_CMD_CTRL_KEY) != 0) {
        NextInterpolation(RampIn(event.locked));
        MarkChanged(event.param);
        MarkHandled(event);
        return;
    }
    const float x = plot.X(click.screen_point.h);
    const float y = plot.Y(click.screen_point.v);
    Ramp& ramp = RampIn(event.locked);
    const int32_t hit = HitKeyPoint(ramp, plot, x, y);
    if (click.num_clicks == 2) {
        if (hit >= 0) {
            ramp.points->erase(std::next(ramp.points->begin(), hit));
        } else {
            (*ramp.points)[x] = 1.0f - y;
        }
        MarkChanged(event.param);
        MarkHandled(event);
        return;
    }
    if (hit < 0) {
        return;
    }
    const auto& [t, p] = *std::next(ramp.points->begin(), hit);
    click.send_drag = 1;
    const int64_t keyX = TruncateToInt32(t * static_cast<float>(plot.width)) + plot.left;
    const int64_t keyY = TruncateToInt32((1.0f - p) * static_cast<float>(plot.height)) + plot.top;
    const RampDragState state = {SaturateToInt32(keyX - click.screen_point.h),
                                 SaturateToInt32(keyY - click.screen_point.v), hit};
    state.Write(&click);
    MarkHandled(event);
}

void Drag(const RampEvent& event) {
    const RampPlot& plot = event.plot;
    PF_DoClickEventInfo& click = event.extra->u.do_click;
    RampDragState state = RampDragState::Read(click);
    // No bounds on the cursor: outside the plot the point stays on its edge.
    float t = ClampToUnit(plot.X(int64_t{click.screen_point.h} + state.dx));
    const float value = 1.0f - ClampToUnit(plot.Y(int64_t{click.screen_point.v} + state.dy));

    Ramp& ramp = RampIn(event.locked);
    if (state.index != -1) {
        if (state.index < 0 || static_cast<size_t>(state.index) >= ramp.points->size()) {
            return;
        }
        ramp.points->erase(std::next(ramp.points->begin(), state.index));
        MarkChanged(event.param);
    }
    // The point removed above no longer holds its own old key.
    const float step = t < 0.5f ? kFreeKeyStep : -kFreeKeyStep;
    while (ramp.points->count(t) != 0) {
        t += step;
    }
    const auto inserted = ramp.points->emplace(t, value).first;
    state.index = SaturateToInt32(std::distance(ramp.points->begin(), inserted));
    state.Write(&click);
    MarkChanged(event.param);
    MarkHandled(event);
}

}  // namespace

PF_Err RampEditorClick(PF_InData* in_data, PF_OutData*, PF_ParamDef* params[], PF_LayerDef*,
                       PF_EventExtra* extra) {
    return OnEditableRamp(in_data, params, extra, Click);
}

PF_Err RampEditorDrag(PF_InData* in_data, PF_OutData*, PF_ParamDef* params[], PF_LayerDef*,
                      PF_EventExtra* extra) {
    return OnEditableRamp(in_data, params, extra, Drag);
}
