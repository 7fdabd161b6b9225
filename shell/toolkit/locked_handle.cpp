#include "shell/toolkit/locked_handle.h"

#include "shell/toolkit/errors.h"

LockedHandle::LockedHandle(SuiteHandler* suiteHandler, PF_Handle hostHandle)
    : suites(suiteHandler), handle(hostHandle), ptr(nullptr) {
    ptr = suites->HandleSuite2()->host_lock_handle(handle);
}

LockedHandle::~LockedHandle() {
    // The suite was acquired by the constructor, so this cannot throw.
    suites->HandleSuite2()->host_unlock_handle(handle);
}

void* LockedHandle::Get() const {
    if (ptr == nullptr) {
        throw ReportedAsOutOfMemory(PF_Err_OUT_OF_MEMORY);
    }
    return ptr;
}
