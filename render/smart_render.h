#pragma once

#include "host_api/effect.h"

// PF_Cmd_SMART_RENDER: one frame from the input layer into the output world. Returns the
// frame's first error, or throws it; whatever happened, the host's OpenGL context is current
// again and exactly what was checked out or acquired is given back.
PF_Err SmartRender(PF_InData* in_data, PF_OutData* out_data, PF_SmartRenderExtra* extra);
