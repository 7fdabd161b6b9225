#pragma once

#include "host_api/effect.h"

// The content of the effect's global-data handle.
struct GlobalData {
    // The plug-in id that the host handed out for the effect's AEGP calls.
    A_u_long pluginId;
};
static_assert(sizeof(GlobalData) == 4, "the global data is one 32-bit word");

// The global-data part of PF_Cmd_GLOBAL_SETUP: a new handle holding the AEGP plug-in id
// (Premiere Pro gets the handle without registering). A failed registration returns its code
// and leaves out_data->global_data unset.
PF_Err GlobalDataSetup(PF_InData* in_data, PF_OutData* out_data);

// The global data of in_data, read without locking; null when there is none.
GlobalData* GetGlobalData(const PF_InData* in_data);

// Disposes in_data->global_data when there is one; always PF_Err_NONE.
PF_Err GlobalDataSetdown(PF_InData* in_data);
