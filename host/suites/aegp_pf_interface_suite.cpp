#include "host/suite_registry.h"
#include "host/suites/aegp_calls.h"

namespace quorvel::host {

namespace {

A_Err GetEffectLayer(PF_ProgPtr effect_ref, AEGP_LayerH* layer) {
    if (layer == nullptr || !IsTheEffect(effect_ref)) {
        return RefuseMisuse("AEGP_GetEffectLayer of a foreign effect or without a place");
    }
    *layer = nullptr;
    if (const auto fault = FaultAnswer("AEGP_GetEffectLayer")) {
        return *fault;
    }
    *layer = TheAegpObjects().Layer();
    return PF_Err_NONE;
}

A_Err GetNewEffectForEffect(AEGP_PluginID plugin, PF_ProgPtr effect_ref, AEGP_EffectRefH* effect) {
    if (effect == nullptr || !IsTheEffect(effect_ref) || !IsRegisteredPlugin(plugin)) {
        return RefuseMisuse(
            "AEGP_GetNewEffectForEffect of a foreign effect, an unknown plug-in or without a "
            "place");
    }
    *effect = nullptr;
    if (const auto fault = FaultAnswer("AEGP_GetNewEffectForEffect")) {
        return *fault;
    }
    AegpObject object;
    object.kind = AegpObject::Kind::Effect;
    return HandOutAegp(std::move(object), effect);
}

const AEGP_PFInterfaceSuite1 kPFInterfaceSuite = {&GetEffectLayer, &GetNewEffectForEffect};

}  // namespace

extern const SuiteDefinition kAEGPPFInterfaceSuite1 = {
    kAEGPPFInterfaceSuite, kAEGPPFInterfaceSuiteVersion1, &kPFInterfaceSuite};

}  // namespace quorvel::host
