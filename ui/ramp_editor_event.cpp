#include "ui/ramp_editor.h"

PF_Err HandleRampEditorEvent(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
                             PF_LayerDef* output, PF_EventExtra* extra) {
    switch (extra->e_type) {
        case PF_Event_DO_CLICK:
            // Some hosts go on sending clicks while the mouse is held: those are drags.
            if (extra->u.do_click.send_drag != 0) {
                extra->e_type = PF_Event_DRAG;
                return RampEditorDrag(in_data, out_data, params, output, extra);
            }
            return RampEditorClick(in_data, out_data, params, output, extra);
        case PF_Event_DRAG:
            return RampEditorDrag(in_data, out_data, params, output, extra);
        case PF_Event_DRAW:
            return DrawRampEditor(in_data, out_data, params, output, extra);
        default:
            return PF_Err_NONE;
    }
}
