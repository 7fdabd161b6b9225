#pragma once

#include "host_api/effect.h"

// The six arguments of one EffectMain call, as the dispatch tables pass them to a row.
struct CommandArgs {
    PF_Cmd cmd;
    PF_InData* in_data;
    PF_OutData* out_data;
    PF_ParamDef** params;
    PF_LayerDef* output;
    void* extra;
};

// Row adaptors: a handler of the shape (in_data, out_data) or (in_data, out_data, extra)
// becomes a row of a dispatch table.
template <PF_Err (*Handler)(PF_InData*, PF_OutData*)>
PF_Err WithInOut(const CommandArgs& args) {
    return Handler(args.in_data, args.out_data);
}

template <typename Extra, PF_Err (*Handler)(PF_InData*, PF_OutData*, Extra*)>
PF_Err WithInOutExtra(const CommandArgs& args) {
    return Handler(args.in_data, args.out_data, static_cast<Extra*>(args.extra));
}
