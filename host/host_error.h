#pragma once

#include <stdexcept>
#include <string>

namespace quorvel::host {

// A failure of the host itself (a module that cannot be loaded, a misused host API); never
// thrown into the module.
class HostError : public std::runtime_error {
  public:
    explicit HostError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace quorvel::host
