#pragma once

#include <string>

namespace quorvel::testing {

// The message of the Error that action throws, or "no error".
template <typename Error, typename Action>
std::string MessageOf(Action&& action) {
    try {
        action();
    } catch (const Error& error) {
        return error.what();
    }
    return "no error";
}

}  // namespace quorvel::testing
