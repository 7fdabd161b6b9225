#include "shell/params_setup.h"

#include <cstring>
#include <optional>

#include "ramp/ramp_arbitrary.h"
#include "shell/params/param_table.h"
#include "shell/params/ramp_default.h"
#include "shell/toolkit/errors.h"
#include "shell/toolkit/suite_handler.h"

namespace {

constexpr float kCurveTolerance = 0.05f;
constexpr A_short kRampEditorWidth = 150;
constexpr A_short kRampEditorHeight = 140;

void DescribeFloatSlider(const ParamDetail& d, PF_FloatSliderDef* fs) {
    fs->value = d.dephault;
    fs->dephault = static_cast<PF_FpShort>(d.dephault);
    fs->valid_min = static_cast<PF_FpShort>(d.validMin);
    fs->valid_max = static_cast<PF_FpShort>(d.validMax);
    fs->slider_min = static_cast<PF_FpShort>(d.sliderMin);
    fs->slider_max = static_cast<PF_FpShort>(d.sliderMax);
    fs->precision = d.precision;
    fs->display_flags = d.displayFlags;
    fs->curve_tolerance = kCurveTolerance;
}

void DescribeSlider(const ParamDetail& d, PF_SliderDef* sd) {
    sd->value = static_cast<A_long>(d.dephault);
    sd->dephault = static_cast<A_long>(d.dephault);
    sd->valid_min = static_cast<A_long>(d.validMin);
    sd->valid_max = static_cast<A_long>(d.validMax);
    sd->slider_min = static_cast<A_long>(d.sliderMin);
    sd->slider_max = static_cast<A_long>(d.sliderMax);
}

// Fills everything but a ramp's default handle, which the caller builds first.
void DescribeParam(const ParamRecord& record, PF_InData* in_data, PF_ParamDef* def) {
    const ParamDetail& d = record.detail;
    def->uu.id = record.savedId;
    def->param_type = record.type;
    if (record.type != PF_Param_GROUP_END) {
        in_data->utils->ansi.strcpy(def->name, record.name);
    }
    switch (record.type) {
        case PF_Param_FLOAT_SLIDER:
            DescribeFloatSlider(d, &def->u.fs_d);
            break;
        case PF_Param_SLIDER:
            DescribeSlider(d, &def->u.sd);
            break;
        case PF_Param_CHECKBOX:
            def->flags = d.flags;
            def->u.bd.value = static_cast<PF_ParamValue>(d.dephault);
            def->u.bd.dephault = static_cast<PF_Boolean>(d.dephault);
            def->u.bd.u.nameptr = "";
            break;
        case PF_Param_POPUP:
            def->u.pd.value = static_cast<PF_ParamValue>(d.dephault);
            def->u.pd.dephault = static_cast<A_short>(d.dephault);
            def->u.pd.num_choices = d.numChoices;
            def->u.pd.u.namesptr = d.choices;
            break;
        case PF_Param_ARBITRARY_DATA:
            def->flags = d.flags;
            def->ui_flags = PF_PUI_CONTROL | PF_PUI_DONT_ERASE_CONTROL;
            def->ui_width = kRampEditorWidth;
            def->ui_height = kRampEditorHeight;
            def->u.arb_d.refconPV = reinterpret_cast<void*>(RAMP_ARB_REFCON);
            break;
        default:  // paths and groups carry nothing beyond the common fields
            break;
    }
}

}  // namespace

void ParamsSetup(PF_InData* in_data, PF_OutData* out_data) {
    SuiteHandler suites(in_data->pica_basicP);
    out_data->num_params = PARAM_COUNT;

    PF_ParamDef def;
    for (const ParamRecord& record : kParamTable) {
        std::memset(&def, 0, sizeof def);
        std::optional<RampDefaultHandle> rampDefault;
        if (record.type == PF_Param_ARBITRARY_DATA) {
            rampDefault.emplace(&suites, *record.detail.curve);
            def.u.arb_d.dephault = rampDefault->Get();
        }
        DescribeParam(record, in_data, &def);
        const PF_Err err = in_data->inter.add_param(in_data->effect_ref, -1, &def);
        if (err != PF_Err_NONE) {
            throw Exception(err);
        }
        if (rampDefault) {
            rampDefault->Release();
        }
    }

    PF_CustomUIInfo ui;
    std::memset(&ui, 0, sizeof ui);
    ui.events = PF_CustomEFlag_COMP | PF_CustomEFlag_LAYER | PF_CustomEFlag_EFFECT;
    const PF_Err err = in_data->inter.register_ui(in_data->effect_ref, &ui);
    if (err != PF_Err_NONE) {
        throw Exception(err);
    }
}
