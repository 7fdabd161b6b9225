#pragma once

#include <exception>

#include "host_api/effect.h"

// A Drawbot call that failed while a pen or path wrapper was being made. It carries only the
// call's code; the entry point turns it into PF_Err_OUT_OF_MEMORY like every failure that is
// neither an Exception nor a host code.
class DRAWBOT_Exception : public std::exception {
  public:
    explicit DRAWBOT_Exception(A_long code) : err(code) {}
    DRAWBOT_Exception(const DRAWBOT_Exception&) = default;
    DRAWBOT_Exception& operator=(const DRAWBOT_Exception&) = default;
    ~DRAWBOT_Exception() override = default;

    // The non-zero code of the failed call.
    A_long err;
};
