#pragma once

#include "host_api/effect.h"

// The command switch of EffectMain: runs the handler of cmd. A command without a handler,
// and every command above PF_Cmd_GET_FLATTENED_SEQUENCE_DATA, returns PF_Err_NONE without
// work. Exceptions other than those of the guarded sequence-data handlers pass through.
PF_Err RunCommand(PF_Cmd cmd, PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
                  PF_LayerDef* output, void* extra);
