#pragma once

#include "host_api/effect.h"

// PF_Cmd_PARAMS_SETUP: adds the 79 parameters with their default curves and registers the
// custom UI. A host error is thrown as Exception carrying the host's code.
void ParamsSetup(PF_InData* in_data, PF_OutData* out_data);
