#pragma once

#include <optional>
#include <string>

#include "host/drawbot_canvas.h"
#include "host/drawbot_objects.h"
#include "host_api/drawbot.h"

namespace quorvel::host {

// What every Drawbot function of the host does first: counts the call of function and, when
// a fault is armed for it, gives the answer the fault asks for (a code, or success for a
// fault that hands out null).
std::optional<SPErr> DrawbotFault(const char* function);

// A call that breaks the host's rules: noted in the ledger and refused.
SPErr DrawbotMisuse(const std::string& what);

DrawbotObjects& TheDrawbotObjects();

// The element list of a path as a Cairo path on context.
void TracePath(cairo_t* context, const std::vector<DrawbotPathElement>& path);

}  // namespace quorvel::host
