#include "host/suites/aegp_calls.h"

#include "host/host.h"
#include "host/suites/utility_suite.h"

namespace quorvel::host {

std::optional<A_Err> AegpFault(const char* function) {
    const auto fault = Host::Current().faults().Enter(function);
    if (!fault) {
        return std::nullopt;
    }
    return fault->Result(PF_Err_NONE);
}

A_Err AegpMisuse(const std::string& what) {
    Host::Current().ledger().Misuse(what);
    return PF_Err_BAD_CALLBACK_PARAM;
}

AegpObjects& TheAegpObjects() {
    return Host::Current().State<AegpObjects>();
}

bool IsRegisteredPlugin(AEGP_PluginID id) {
    for (const AegpRegistrations::Entry& entry :
         Host::Current().State<AegpRegistrations>().Entries()) {
        if (entry.id == id) {
            return true;
        }
    }
    return false;
}

bool IsTheEffect(PF_ProgPtr effect_ref) {
    return effect_ref == &Host::Current().effect();
}

}  // namespace quorvel::host
