#pragma once

#include "host_api/effect.h"
#include "host_api/suites.h"

// Acquire or release one suite outside a SuiteHandler, for code that keeps a suite across
// several calls of its own. They never throw: a failure posts the caller's message (or a
// default one) into the host's message and returns PF_Err_BAD_CALLBACK_PARAM.

// Success is decided by the suite pointer alone; the host's result code is not looked at.
PF_Err AEFX_AcquireSuite(PF_InData* in_data, PF_OutData* out_data, const char* name, A_long version,
                         const char* message, const void** suite);

PF_Err AEFX_ReleaseSuite(PF_InData* in_data, PF_OutData* out_data, const char* name, A_long version,
                         const char* message);
