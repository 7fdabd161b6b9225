#pragma once

#include "host_api/effect.h"

// PF_Cmd_ABOUT: the effect's name, version and description into out_data->return_msg.
PF_Err About(PF_InData* in_data, PF_OutData* out_data);

// PF_Cmd_GLOBAL_SETUP: version and flag words first, so that they stand even when a later
// step fails; then the shared start-up data and the global data.
PF_Err GlobalSetup(PF_InData* in_data, PF_OutData* out_data);

// PF_Cmd_GLOBAL_SETDOWN: tears the shared data down, then FinishGlobalSetdown with its result.
PF_Err GlobalSetdown(PF_InData* in_data, PF_OutData* out_data);

// What GLOBAL_SETDOWN does after the OpenGL teardown, whose result is teardown: disposes the
// global data only when the teardown succeeded, and any sequence data still present.
PF_Err FinishGlobalSetdown(PF_InData* in_data, PF_OutData* out_data, PF_Err teardown);
