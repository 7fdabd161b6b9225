#pragma once

#include <cstdint>

#include "host_api/effect.h"
#include "host_api/suites.h"
#include "shell/toolkit/suite_handler.h"

// The host's functions for handles that a call must give back: those of "PF Handle Suite" 2,
// or, when the host cannot supply the suite, the same functions among in_data's utility
// callbacks, so that a handle is never left behind for want of the suite. Raises
// SuiteHandler::MissingSuiteError when neither is there.
struct HandleFunctions {
    void* (*lock)(PF_Handle);
    void (*unlock)(PF_Handle);
    void (*dispose)(PF_Handle);
};
HandleFunctions HandleFunctionsFor(SuiteHandler* suites, const PF_InData* in_data);

// A host memory handle made through "PF Handle Suite" 2 that is disposed again at the end of
// the scope unless Release hands it on (to out_data, for the host to keep).
class OwnedHandle {
  public:
    OwnedHandle(SuiteHandler* suites, uint64_t size);
    ~OwnedHandle();
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;

    // Null when the host could not allocate.
    PF_Handle Get() const { return handle_; }

    // Gives the handle up: the destructor no longer disposes it.
    PF_Handle Release();

  private:
    SuiteHandler* suites_;
    PF_Handle handle_;
};
