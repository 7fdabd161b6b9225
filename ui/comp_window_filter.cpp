#include "shell/params/param_index.h"
#include "ui/mask_names.h"

namespace {

// The window an event's context belongs to; PF_Window_NONE when the event has none.
PF_WindowType WindowOf(const PF_EventExtra* event) {
    if (event == nullptr || event->contextH == nullptr || *event->contextH == nullptr) {
        return PF_Window_NONE;
    }
    return (*event->contextH)->w_type;
}

bool ShowsMaskNames(const PF_InData* in_data, PF_ParamDef* params[]) {
    // A params array that does not reach the checkbox leaves it off.
    const PF_ParamDef* checkbox = ParamAt(in_data, params, PARAM_SHOW_MASKS_NAMES);
    return checkbox != nullptr && checkbox->u.bd.value != 0;
}

}  // namespace

bool FilterCompWindowEvent(PF_Cmd cmd, PF_InData* in_data, PF_OutData*, PF_ParamDef* params[],
                           PF_LayerDef*, void* extra) {
    if (cmd != PF_Cmd_EVENT) {
        return false;
    }
    auto* event = static_cast<PF_EventExtra*>(extra);
    // The effect controls window, and a window of any other type, belong to the ramp editors.
    if (static_cast<A_u_long>(WindowOf(event)) > static_cast<A_u_long>(PF_Window_LAYER)) {
        return false;
    }
    if (event->e_type == PF_Event_DRAW && ShowsMaskNames(in_data, params)) {
        DrawMaskNames(in_data, event);
    }
    return true;
}
