#pragma once

#include <stdexcept>
#include <string>

namespace quorvel::host {

// A scene that cannot be used: bad JSON, a value of the wrong kind or out of range, an
// unknown parameter, a missing file. The message names the file and the place in it.
class SceneError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

}  // namespace quorvel::host
