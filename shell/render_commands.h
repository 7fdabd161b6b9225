#pragma once

#include "host_api/effect.h"

// PF_Cmd_QUERY_DYNAMIC_FLAGS: PF_OutFlag_NON_PARAM_VARY follows the "Animate" checkbox; every
// other out-flag bit stays as the host passed it.
PF_Err QueryDynamicFlags(PF_InData* in_data, PF_OutData* out_data);

// PF_Cmd_SMART_PRE_RENDER: asks for the whole input layer (joined with the output request)
// and reports the union of what the host can give.
PF_Err SmartPreRender(PF_InData* in_data, PF_OutData* out_data, PF_PreRenderExtra* extra);
