#pragma once

#include "host_api/suites.h"

namespace quorvel::host {

// The host's basic suite: acquires and releases suites of the living host by name and
// version, and allocates blocks (which the ledger counts until they are freed).
SPBasicSuite* BasicSuite();

}  // namespace quorvel::host
