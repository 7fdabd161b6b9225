#include "shell/toolkit/aegp_effect.h"

#include "shell/toolkit/aegp_wrappers.h"
#include "shell/toolkit/errors.h"
#include "shell/toolkit/global_data.h"

void ThrowIfAegpFailed(A_Err err) {
    if (err != PF_Err_NONE) {
        throw Exception(err);
    }
}

void ThrowIfAegpMadeNothing(const void* handle) {
    if (handle == nullptr) {
        throw Exception(PF_Err_OUT_OF_MEMORY);
    }
}

AegpEffect::AegpEffect(PF_InData* in_data)
    : pluginId(0), effectRef(in_data->effect_ref), suites(in_data->pica_basicP), effectH(nullptr) {
    const GlobalData* global = GetGlobalData(in_data);
    if (global == nullptr) {
        throw Exception(PF_Err_INTERNAL_STRUCT_DAMAGED,
                        "Failed to get global data while constructing an AEGP effect");
    }
    pluginId = global->pluginId;
    // The suite that disposes the handle is acquired before the host hands it out, so that a
    // missing one cannot leave the handle behind.
    suites.EffectSuite2();
    ThrowIfAegpFailed(suites.PFInterfaceSuite1()->AEGP_GetNewEffectForEffect(
        static_cast<AEGP_PluginID>(pluginId), effectRef, &effectH));
    ThrowIfAegpMadeNothing(effectH);
}

AegpEffect::~AegpEffect() {
    if (effectH == nullptr) {
        return;
    }
    try {
        suites.EffectSuite2()->AEGP_DisposeEffect(effectH);
    } catch (...) {
        // A missing suite cannot be reported from here; the cache still releases the others.
    }
}

AegpLayer AegpEffect::Layer() {
    AEGP_LayerH layer = nullptr;
    ThrowIfAegpFailed(suites.PFInterfaceSuite1()->AEGP_GetEffectLayer(effectRef, &layer));
    ThrowIfAegpMadeNothing(layer);
    return AegpLayer(this, 0, layer);
}
