#pragma once

#include "host_api/suites.h"

namespace quorvel::host {

// "PF ANSI Suite" 1; in_data->utils->ansi shares its functions. Both treat the destination
// as a 256-byte message buffer: they never write more, and always end it with a NUL.
const PF_ANSICallbacksSuite1& AnsiSuiteTable();

}  // namespace quorvel::host
