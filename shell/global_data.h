#pragma once

#include "host_api/effect.h"

// The global-data part of PF_Cmd_GLOBAL_SETUP: a new handle holding the AEGP plug-in id
// (Premiere Pro gets the handle without registering). A failed registration returns its code
// and leaves out_data->global_data unset.
PF_Err GlobalDataSetup(PF_InData* in_data, PF_OutData* out_data);

// Disposes in_data->global_data when there is one; always PF_Err_NONE.
PF_Err GlobalDataSetdown(PF_InData* in_data);
