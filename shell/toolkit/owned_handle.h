#pragma once

#include <cstdint>
#include <optional>

#include "host_api/effect.h"
#include "host_api/suites.h"
#include "shell/toolkit/locked_handle.h"
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
// the scope (or by Dispose) unless Release hands it on (to out_data, for the host to keep).
// Moved, never copied.
class OwnedHandle {
  public:
    // Holds nothing.
    OwnedHandle() = default;
    OwnedHandle(SuiteHandler* suites, uint64_t size);
    ~OwnedHandle() { Dispose(); }
    OwnedHandle(OwnedHandle&& other) noexcept;
    OwnedHandle& operator=(OwnedHandle&& other) noexcept;
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;

    // Null when the host could not allocate.
    PF_Handle Get() const { return handle_; }

    // Gives the handle up: it is no longer disposed here.
    PF_Handle Release();

    // Disposes the handle now, when one is held.
    void Dispose() noexcept;

  private:
    SuiteHandler* suites_ = nullptr;
    PF_Handle handle_ = nullptr;
};

// A new handle of size bytes, locked for a handler that fills it: the lock ends with the scope
// (or earlier, with locked.reset()), and then the handle is disposed unless owned.Release()
// has handed it on. A handle that was not made is not locked.
struct NewLockedHandle {
    NewLockedHandle(SuiteHandler* suites, uint64_t size);

    // PF_Err_NONE when the handle was made and locked; otherwise the caller's code for the step
    // that failed.
    PF_Err Failure(PF_Err notMade, PF_Err notLocked) const;

    // The locked memory; null when either step failed.
    void* Memory() const { return locked ? locked->ptr : nullptr; }

    OwnedHandle owned;
    std::optional<LockedHandle> locked;
};
