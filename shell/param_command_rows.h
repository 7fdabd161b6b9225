#pragma once

#include "host_api/effect.h"
#include "shell/command_args.h"
#include "shell/params/param_index.h"
#include "shell/toolkit/errors.h"

// The rows of HandleParamCommands, each made from the handler it calls. A row answers true
// when the command is fully handled.

// PF_Cmd_PARAMS_SETUP: the set-up, then handled.
template <void (*Setup)(PF_InData*, PF_OutData*)>
bool ClaimAfterSetup(const CommandArgs& args) {
    Setup(args.in_data, args.out_data);
    return true;
}

// PF_Cmd_UPDATE_PARAMS_UI: the update, then not handled (the command switch returns 0).
template <void (*Update)(PF_InData*, PF_OutData*, PF_ParamDef**)>
bool PassOnAfterUpdate(const CommandArgs& args) {
    Update(args.in_data, args.out_data, args.params);
    return false;
}

// PF_Cmd_EVENT: events of a ramp editor's control go to the editor and are handled; a
// non-zero result becomes an Exception. Every other event is left to the command switch.
template <PF_Err (*EditorEvent)(PF_InData*, PF_OutData*, PF_ParamDef**, PF_LayerDef*,
                                PF_EventExtra*)>
bool ClaimRampEditorEvent(const CommandArgs& args) {
    auto* event = static_cast<PF_EventExtra*>(args.extra);
    if (event == nullptr || !IsRampParam(event->effect_win.index)) {
        return false;
    }
    const PF_Err err = EditorEvent(args.in_data, args.out_data, args.params, args.output, event);
    if (err != PF_Err_NONE) {
        throw Exception(err);
    }
    return true;
}

// PF_Cmd_ARBITRARY_CALLBACK: only the ramp's own arbitrary data is served; any other refcon
// is PF_Err_UNRECOGNIZED_PARAM_TYPE. Always handled.
template <bool (*IsRampCallback)(const PF_ArbParamsExtra*),
          PF_Err (*RampCallback)(PF_InData*, PF_OutData*, PF_ParamDef**, PF_LayerDef*,
                                 PF_ArbParamsExtra*)>
bool ClaimRampArbitraryCallback(const CommandArgs& args) {
    auto* callback = static_cast<PF_ArbParamsExtra*>(args.extra);
    if (!IsRampCallback(callback)) {
        throw Exception(PF_Err_UNRECOGNIZED_PARAM_TYPE);
    }
    const PF_Err err =
        RampCallback(args.in_data, args.out_data, args.params, args.output, callback);
    if (err != PF_Err_NONE) {
        throw Exception(err);
    }
    return true;
}

// PF_Cmd_USER_CHANGED_PARAM: nothing to do, handled.
inline bool ClaimWithoutWork(const CommandArgs&) {
    return true;
}
