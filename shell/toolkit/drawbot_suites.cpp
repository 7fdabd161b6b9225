#include "shell/toolkit/drawbot_suites.h"

#include "shell/toolkit/aefx_suite.h"
#include "shell/toolkit/host_message.h"
#include "shell/toolkit/suite_handler.h"

namespace {

struct DrawbotSuiteRow {
    SuiteSlot slot;
    void (*store)(DrawbotSuites* suites, const void* suite);
    const void* (*held)(const DrawbotSuites* suites);
};

// The row of the record's member that holds the slot's suite.
template <SuiteSlot slot, const SuiteTable<slot>* DrawbotSuites::*member>
constexpr DrawbotSuiteRow Row() {
    return {slot,
            [](DrawbotSuites* suites, const void* suite) {
                suites->*member = static_cast<const SuiteTable<slot>*>(suite);
            },
            [](const DrawbotSuites* suites) -> const void* { return suites->*member; }};
}

// In the order in which they are acquired and released.
constexpr DrawbotSuiteRow kDrawbotSuiteRows[] = {
    Row<SuiteSlot::DRAWBOTDrawSuite1, &DrawbotSuites::drawSuite>(),
    Row<SuiteSlot::DRAWBOTSupplierSuite1, &DrawbotSuites::supplierSuite>(),
    Row<SuiteSlot::DRAWBOTSurfaceSuite2, &DrawbotSuites::surfaceSuite>(),
    Row<SuiteSlot::DRAWBOTPathSuite1, &DrawbotSuites::pathSuite>(),
};

}  // namespace

PF_Err AEFX_AcquireDrawbotSuites(PF_InData* in_data, PF_OutData* out_data, DrawbotSuites* suites) {
    if (suites == nullptr) {
        PostErrorMessage(in_data, out_data,
                         "NULL suite pointer passed to AEFX_AcquireDrawbotSuites");
        return PF_Err_UNRECOGNIZED_PARAM_TYPE;
    }
    for (const DrawbotSuiteRow& row : kDrawbotSuiteRows) {
        const SuiteName pair = SuiteNameOf(row.slot);
        const void* suite = nullptr;
        const PF_Err err =
            AEFX_AcquireSuite(in_data, out_data, pair.name, pair.version, nullptr, &suite);
        row.store(suites, suite);
        if (err != PF_Err_NONE) {
            return err;
        }
    }
    return PF_Err_NONE;
}

PF_Err AEFX_ReleaseDrawbotSuites(PF_InData* in_data, PF_OutData* out_data) {
    for (const DrawbotSuiteRow& row : kDrawbotSuiteRows) {
        const SuiteName pair = SuiteNameOf(row.slot);
        AEFX_ReleaseSuite(in_data, out_data, pair.name, pair.version, nullptr);
    }
    return PF_Err_NONE;
}

PF_Err AEFX_ReleaseDrawbotSuites(PF_InData* in_data, PF_OutData* out_data, DrawbotSuites* suites) {
    if (suites == nullptr) {
        return PF_Err_NONE;
    }
    for (const DrawbotSuiteRow& row : kDrawbotSuiteRows) {
        if (row.held(suites) != nullptr) {
            const SuiteName pair = SuiteNameOf(row.slot);
            AEFX_ReleaseSuite(in_data, out_data, pair.name, pair.version, nullptr);
            row.store(suites, nullptr);
        }
    }
    return PF_Err_NONE;
}
