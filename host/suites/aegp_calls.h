#pragma once

#include <optional>
#include <string>

#include "host/aegp_objects.h"
#include "host_api/aegp.h"

namespace quorvel::host {

// What every AEGP function of the host does first: counts the call of function and, when a
// fault is armed for it, gives the answer the fault asks for (a code, or success for a fault
// that hands out null).
std::optional<A_Err> AegpFault(const char* function);

// A call that breaks the host's rules: noted in the ledger and refused.
A_Err AegpMisuse(const std::string& what);

AegpObjects& TheAegpObjects();

// Whether id is a plug-in id the host handed out, and effect_ref the effect instance's.
bool IsRegisteredPlugin(AEGP_PluginID id);
bool IsTheEffect(PF_ProgPtr effect_ref);

// Hands a new handle to the module through out.
template <typename Handle>
A_Err HandOutAegp(AegpObject object, Handle* out) {
    *out = reinterpret_cast<Handle>(TheAegpObjects().Make(std::move(object)));
    return PF_Err_NONE;
}

}  // namespace quorvel::host
