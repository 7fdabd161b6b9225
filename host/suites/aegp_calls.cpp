#include "host/suites/aegp_calls.h"

#include "host/host.h"
#include "host/suites/utility_suite.h"

namespace quorvel::host {

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
