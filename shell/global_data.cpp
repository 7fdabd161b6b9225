#include "shell/global_data.h"

#include "shell/string_table.h"
#include "shell/toolkit/global_data.h"
#include "shell/toolkit/owned_handle.h"
#include "shell/toolkit/suite_handler.h"

namespace {

constexpr A_long kPremiereApplicationId = PF_APPL_ID_PREMIERE;

}  // namespace

PF_Err GlobalDataSetup(PF_InData* in_data, PF_OutData* out_data) {
    SuiteHandler suites(in_data->pica_basicP);
    // A handle that is not handed to the host is disposed by its owner after the unlock.
    // Without global data the parameter-UI updates and the AEGP features would be off for the
    // whole session without a word, so a lock that gives nothing fails too.
    NewLockedHandle record(&suites, sizeof(GlobalData));
    PF_Err err = record.Failure(PF_Err_INTERNAL_STRUCT_DAMAGED, PF_Err_OUT_OF_MEMORY);
    if (err != PF_Err_NONE) {
        return err;
    }
    auto* global = static_cast<GlobalData*>(record.Memory());
    if (in_data->appl_id != kPremiereApplicationId) {
        static_assert(sizeof(AEGP_PluginID) == sizeof(global->pluginId), "plug-in id word");
        err = suites.UtilitySuite7()->AEGP_RegisterWithAEGP(
            nullptr, LookupString(StrID_Name), reinterpret_cast<AEGP_PluginID*>(&global->pluginId));
    }
    if (err == PF_Err_NONE) {
        out_data->global_data = record.owned.Release();
    }
    return err;
}

PF_Err GlobalDataSetdown(PF_InData* in_data) {
    if (in_data->global_data != nullptr) {
        SuiteHandler suites(in_data->pica_basicP);
        HandleFunctionsFor(&suites, in_data).dispose(in_data->global_data);
    }
    return PF_Err_NONE;
}
