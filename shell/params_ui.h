#pragma once

#include "host_api/effect.h"
#include "shell/toolkit/suite_handler.h"

// PF_Cmd_UPDATE_PARAMS_UI: greys the four strip parameters out while "Strips Enable" is off,
// and asks for a new render when it changed any of them. Does nothing in Premiere Pro or
// without global data.
void UpdateParamsUI(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[]);

// Sends the host a copy of params[index] with PF_PUI_DISABLED cleared (enable) or set, and
// PF_ParamFlag_COLLAPSE_TWIRLY set. True when it was sent; false when the host's definition
// already had the requested state. A host error is thrown as Exception.
bool SetParamEnabled(PF_InData* in_data, PF_ParamDef* params[], SuiteHandler* suites, A_long index,
                     bool enable);
