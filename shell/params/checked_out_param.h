#pragma once

#include "host_api/effect.h"

// One parameter checked out from the host at the current time; the destructor checks it in
// again on every way out of the scope.
class CheckedOutParam {
  public:
    explicit CheckedOutParam(PF_InData* in_data);
    ~CheckedOutParam();
    CheckedOutParam(const CheckedOutParam&) = delete;
    CheckedOutParam& operator=(const CheckedOutParam&) = delete;

    // Checks out parameter index at in_data's time into param; the host's result. The
    // definition is checked in by the destructor whatever the result was.
    PF_Err Checkout(PF_ParamIndex index);

    PF_InData* in_data;
    PF_ParamDef param;
};
