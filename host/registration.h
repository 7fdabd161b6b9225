#pragma once

#include <string>

#include "host_api/effect.h"

namespace quorvel::host {

// What the module passed to the host's registration callback.
struct Registration {
    int calls = 0;
    std::string name;
    std::string matchName;
    std::string category;
    std::string entryPoint;
    A_long kind = 0;
    A_long apiMajorVersion = 0;
    A_long apiMinorVersion = 0;
    A_long reservedInfo = 0;
};

}  // namespace quorvel::host
