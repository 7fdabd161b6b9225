#include "shell/owned_handle.h"

OwnedHandle::OwnedHandle(SuiteHandler* suites, uint64_t size) : suites_(suites), handle_(nullptr) {
    handle_ = suites_->HandleSuite2()->host_new_handle(size);
}

OwnedHandle::~OwnedHandle() {
    // The suite was acquired by the constructor, so this cannot throw.
    if (handle_ != nullptr) {
        suites_->HandleSuite2()->host_dispose_handle(handle_);
    }
}

PF_Handle OwnedHandle::Release() {
    PF_Handle handle = handle_;
    handle_ = nullptr;
    return handle;
}
