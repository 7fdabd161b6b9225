#pragma once

#include "host_api/drawbot.h"
#include "host_api/effect.h"

// The four Drawbot suites that drawing code keeps for one event.
struct DrawbotSuites {
    const DRAWBOT_DrawbotSuite1* drawSuite;
    const DRAWBOT_SupplierSuite1* supplierSuite;
    const DRAWBOT_SurfaceSuite2* surfaceSuite;
    const DRAWBOT_PathSuite1* pathSuite;
};

// Acquires draw, supplier, surface and path suite in this order. The first one missing ends
// it with PF_Err_BAD_CALLBACK_PARAM; those acquired before it stay acquired (release them
// with AEFX_ReleaseDrawbotSuites). A null record gives PF_Err_UNRECOGNIZED_PARAM_TYPE.
PF_Err AEFX_AcquireDrawbotSuites(PF_InData* in_data, PF_OutData* out_data, DrawbotSuites* suites);

// Releases the four suites in the same order; always PF_Err_NONE.
PF_Err AEFX_ReleaseDrawbotSuites(PF_InData* in_data, PF_OutData* out_data);

// Releases, in the same order, only the suites that the record holds, and clears them: after
// an acquisition that stopped part-way the host gets back exactly what it handed out.
// Always PF_Err_NONE.
PF_Err AEFX_ReleaseDrawbotSuites(PF_InData* in_data, PF_OutData* out_data, DrawbotSuites* suites);
