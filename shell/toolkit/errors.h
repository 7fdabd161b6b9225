#pragma once

#include <stdexcept>
#include <string>

#include "host_api/effect.h"

// A failure that carries a host error code and, optionally, a message for the user. Thrown
// by value and caught by reference; EffectMain turns it into the command's result.
class Exception : public std::runtime_error {
public:
    explicit Exception(int code) : std::runtime_error(std::string()), err(code) {}
    Exception(int code, const std::string& message) : std::runtime_error(message), err(code) {}
    Exception(const Exception&) = default;
    Exception& operator=(const Exception&) = default;
    ~Exception() override = default;

    A_long err;
};
