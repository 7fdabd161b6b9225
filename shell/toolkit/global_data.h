#pragma once

#include "host_api/effect.h"

// The content of the effect's global-data handle.
struct GlobalData {
    // The plug-in id that the host handed out for the effect's AEGP calls.
    A_u_long pluginId;
};
static_assert(sizeof(GlobalData) == 4, "the global data is one 32-bit word");

// The global data of in_data, read without locking; null when there is none.
GlobalData* GetGlobalData(const PF_InData* in_data);
