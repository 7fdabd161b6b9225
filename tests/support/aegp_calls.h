#pragma once

#include <vector>

namespace quorvel::testing {

// The AEGP calls of a walk from the effect to its masks' names, colours and outlines, in the
// walk's order, that fail by answering a code; and the disposals, whose failures end nothing.
extern const std::vector<const char*> kAegpWalkCalls;
extern const std::vector<const char*> kAegpDisposals;

}  // namespace quorvel::testing
