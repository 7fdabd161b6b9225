#pragma once

#include <utility>

#include "host/aegp_objects.h"
#include "host/suites/call_answers.h"
#include "host_api/aegp.h"

namespace quorvel::host {

// The AEGP handles of the living host.
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
