#pragma once

#include "host_api/effect.h"
#include "ramp/ramp.h"
#include "shell/params/param_table.h"
#include "shell/toolkit/owned_handle.h"
#include "shell/toolkit/suite_handler.h"

// A new ramp value handle holding a parameter's default curve. It owns the handle and the
// curve's point map until Release() says that the host has taken the handle over; a handle
// that never reached the host is freed again, map included.
class RampDefaultHandle {
  public:
    // Makes the handle and builds the curve in it. A handle the host cannot make or lock
    // raises ReportedAsOutOfMemory(PF_Err_OUT_OF_MEMORY); an allocation failure of the map
    // propagates.
    RampDefaultHandle(SuiteHandler* suites, const DefaultCurve& curve);
    ~RampDefaultHandle();
    RampDefaultHandle(const RampDefaultHandle&) = delete;
    RampDefaultHandle& operator=(const RampDefaultHandle&) = delete;

    // Null once released.
    PF_ArbitraryH Get() const { return handle_.Get(); }
    void Release() { handle_.Release(); }

  private:
    OwnedHandle handle_;
};
