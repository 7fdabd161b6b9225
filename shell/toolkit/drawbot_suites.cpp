#include "shell/toolkit/drawbot_suites.h"

#include "shell/toolkit/aefx_suite.h"
#include "shell/toolkit/host_message.h"

namespace {

struct DrawbotSuiteRow {
    const char* name;
    A_long version;
    void (*store)(DrawbotSuites* suites, const void* suite);
    const void* (*held)(const DrawbotSuites* suites);
};

// In the order in which they are acquired and released.
constexpr DrawbotSuiteRow kDrawbotSuiteRows[] = {
    {kDRAWBOT_DrawSuite, kDRAWBOT_DrawSuite_Version1,
     [](DrawbotSuites* suites, const void* suite) {
         suites->drawSuite = static_cast<const DRAWBOT_DrawbotSuite1*>(suite);
     },
     [](const DrawbotSuites* suites) -> const void* { return suites->drawSuite; }},
    {kDRAWBOT_SupplierSuite, kDRAWBOT_SupplierSuite_Version1,
     [](DrawbotSuites* suites, const void* suite) {
         suites->supplierSuite = static_cast<const DRAWBOT_SupplierSuite1*>(suite);
     },
     [](const DrawbotSuites* suites) -> const void* { return suites->supplierSuite; }},
    {kDRAWBOT_SurfaceSuite, kDRAWBOT_SurfaceSuite_Version2,
     [](DrawbotSuites* suites, const void* suite) {
         suites->surfaceSuite = static_cast<const DRAWBOT_SurfaceSuite2*>(suite);
     },
     [](const DrawbotSuites* suites) -> const void* { return suites->surfaceSuite; }},
    {kDRAWBOT_PathSuite, kDRAWBOT_PathSuite_Version1,
     [](DrawbotSuites* suites, const void* suite) {
         suites->pathSuite = static_cast<const DRAWBOT_PathSuite1*>(suite);
     },
     [](const DrawbotSuites* suites) -> const void* { return suites->pathSuite; }},
};

}  // namespace

PF_Err AEFX_AcquireDrawbotSuites(PF_InData* in_data, PF_OutData* out_data, DrawbotSuites* suites) {
    if (suites == nullptr) {
        PostErrorMessage(in_data, out_data,
                         "NULL suite pointer passed to AEFX_AcquireDrawbotSuites");
        return PF_Err_UNRECOGNIZED_PARAM_TYPE;
    }
    for (const DrawbotSuiteRow& row : kDrawbotSuiteRows) {
        const void* suite = nullptr;
        const PF_Err err =
            AEFX_AcquireSuite(in_data, out_data, row.name, row.version, nullptr, &suite);
        row.store(suites, suite);
        if (err != PF_Err_NONE) {
            return err;
        }
    }
    return PF_Err_NONE;
}

PF_Err AEFX_ReleaseDrawbotSuites(PF_InData* in_data, PF_OutData* out_data) {
    for (const DrawbotSuiteRow& row : kDrawbotSuiteRows) {
        AEFX_ReleaseSuite(in_data, out_data, row.name, row.version, nullptr);
    }
    return PF_Err_NONE;
}

PF_Err AEFX_ReleaseDrawbotSuites(PF_InData* in_data, PF_OutData* out_data, DrawbotSuites* suites) {
    if (suites == nullptr) {
        return PF_Err_NONE;
    }
    for (const DrawbotSuiteRow& row : kDrawbotSuiteRows) {
        if (row.held(suites) != nullptr) {
            AEFX_ReleaseSuite(in_data, out_data, row.name, row.version, nullptr);
            row.store(suites, nullptr);
        }
    }
    return PF_Err_NONE;
}
