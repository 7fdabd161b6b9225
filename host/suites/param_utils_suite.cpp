#include "host/host.h"
#include "host/suite_registry.h"

namespace quorvel::host {

namespace {

PF_Err UpdateParamUI(PF_ProgPtr effect_ref, PF_ParamIndex param_index, const PF_ParamDef* defP) {
    Host& host = Host::Current();
    if (effect_ref != &host.effect() || defP == nullptr) {
        host.ledger().Misuse("PF_UpdateParamUI without the effect's reference or a definition");
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    return host.effect().parameters().UpdateUi(param_index, *defP);
}

const PF_ParamUtilsSuite3 kParamUtilsSuite = {&UpdateParamUI};

}  // namespace

extern const SuiteDefinition kParamUtilsSuite3 = {kPFParamUtilsSuite, kPFParamUtilsSuiteVersion3,
                                                  &kParamUtilsSuite};

}  // namespace quorvel::host
