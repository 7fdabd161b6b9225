#include "host/suite_registry.h"
#include "host/suites/aegp_calls.h"

namespace quorvel::host {

namespace {

// A dispose that fails still takes the handle back: the fault is in the answer only.
A_Err DisposeEffect(AEGP_EffectRefH effect) {
    const auto fault = FaultAnswer("AEGP_DisposeEffect");
    if (!TheAegpObjects().Dispose(effect, AegpObject::Kind::Effect)) {
        return RefuseMisuse("AEGP_DisposeEffect of an effect handle that is not alive");
    }
    return fault ? *fault : PF_Err_NONE;
}

const AEGP_EffectSuite2 kEffectSuite = {&DisposeEffect};

}  // namespace

extern const SuiteDefinition kAEGPEffectSuite2 = {kAEGPEffectSuite, kAEGPEffectSuiteVersion2,
                                                  &kEffectSuite};

}  // namespace quorvel::host
