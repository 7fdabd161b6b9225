#pragma once

#include <optional>
#include <string>

#include "host_api/effect.h"

namespace quorvel::host {

// What every Drawbot, custom UI and AEGP function of the host does first: counts the call of
// function and, when a fault is armed for it, gives the answer the fault asks for (a code, or
// success for a fault that hands out null).
std::optional<A_Err> FaultAnswer(const char* function);

// A call that breaks the host's rules: noted in the ledger and refused.
A_Err RefuseMisuse(const std::string& what);

}  // namespace quorvel::host
