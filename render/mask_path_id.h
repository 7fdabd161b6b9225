#pragma once

#include "host_api/effect.h"

struct RenderSettings;

// The path id that mask index 0 ("Mask 1") or 1 ("Mask 2") holds; any other index raises
// ReportedAsOutOfMemory(PF_Err_INTERNAL_STRUCT_DAMAGED, "Unsupported param index").
PF_PathID MaskPathId(const RenderSettings& settings, int maskIndex);
