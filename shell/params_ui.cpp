#include "shell/params_ui.h"

#include "shell/params/param_index.h"
#include "shell/toolkit/errors.h"
#include "shell/toolkit/global_data.h"

namespace {

// The parameters that only matter while "Strips Enable" is on, in the order they are sent.
constexpr ParamIndex kStripParams[] = {PARAM_STRIPS_COUNT, PARAM_STRIPS_RANDOM_FACTOR,
                                       PARAM_STRIPS_RANDOM_SEED, PARAM_STRIPS_DISTRIBUTION};

}  // namespace

void UpdateParamsUI(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[]) {
    if (in_data->appl_id == static_cast<A_long>(PF_APPL_ID_PREMIERE) ||
        GetGlobalData(in_data) == nullptr) {
        return;
    }
    SuiteHandler suites(in_data->pica_basicP);
    // The array is the host's; it must reach every index read here, the last strip parameter
    // the farthest.
    const PF_ParamDef* stripsEnable = ParamAt(in_data, params, PARAM_STRIPS_ENABLE);
    if (stripsEnable == nullptr || ParamAt(in_data, params, PARAM_STRIPS_DISTRIBUTION) == nullptr) {
        throw Exception(PF_Err_BAD_CALLBACK_PARAM);
    }
    const bool enable = stripsEnable->u.bd.value == 1;
    bool sent = false;
    for (const ParamIndex index : kStripParams) {
        if (SetParamEnabled(in_data, params, &suites, index, enable)) {
            sent = true;
        }
    }
    if (sent) {
        out_data->out_flags |= PF_OutFlag_FORCE_RERENDER;
    }
}

bool SetParamEnabled(PF_InData* in_data, PF_ParamDef* params[], SuiteHandler* suites, A_long index,
                     bool enable) {
    const PF_ParamDef* own = ParamAt(in_data, params, index);
    if (own == nullptr) {
        throw Exception(PF_Err_BAD_CALLBACK_PARAM);
    }
    PF_ParamDef copy = *own;
    copy.flags |= PF_ParamFlag_COLLAPSE_TWIRLY;
    if (enable) {
        copy.ui_flags &= ~PF_PUI_DISABLED;
    } else {
        copy.ui_flags |= PF_PUI_DISABLED;
    }
    const bool disabled = (own->ui_flags & PF_PUI_DISABLED) != 0;
    if (disabled != enable) {
        return false;
    }
    const PF_Err err =
        suites->ParamUtilsSuite3()->PF_UpdateParamUI(in_data->effect_ref, index, &copy);
    if (err != PF_Err_NONE) {
        throw Exception(err);
    }
    return true;
}
