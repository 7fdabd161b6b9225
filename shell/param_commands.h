#pragma once

#include "host_api/effect.h"

// The second pre-filter of EffectMain: parameter set-up, parameter changes and UI updates,
// effect-window events of the ramp editors and the ramps' arbitrary-data callbacks. True when
// the command is fully handled.
bool HandleParamCommands(PF_Cmd cmd, PF_InData* in_data, PF_OutData* out_data,
                         PF_ParamDef* params[], PF_LayerDef* output, void* extra);
