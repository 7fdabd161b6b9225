#pragma once

#include "host_api/suites.h"

namespace quorvel::host {

// "PF Handle Suite" 2 over the living host's handles; in_data->utils shares its functions.
const PF_HandleSuite2& HandleSuiteTable();

}  // namespace quorvel::host
