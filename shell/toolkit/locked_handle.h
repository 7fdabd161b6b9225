#pragma once

#include "host_api/suites.h"
#include "shell/toolkit/suite_handler.h"

// Keeps one host memory handle locked for its own scope.
class LockedHandle {
public:
    LockedHandle(SuiteHandler* suites, PF_Handle handle);
    ~LockedHandle();
    LockedHandle(const LockedHandle&) = delete;
    LockedHandle& operator=(const LockedHandle&) = delete;

    // The locked memory; a lock that gave nothing raises
    // ReportedAsOutOfMemory(PF_Err_OUT_OF_MEMORY).
    void* Get() const;

    template <typename T>
    T* As() const {
        return static_cast<T*>(Get());
    }

    SuiteHandler* suites;
    PF_Handle handle;
    void* ptr;
};
