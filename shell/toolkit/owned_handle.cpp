#include "shell/toolkit/owned_handle.h"

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

HandleFunctions HandleFunctionsFor(SuiteHandler* suites, const PF_InData* in_data) {
    if (const PF_HandleSuite2* suite = suites->Find<SuiteSlot::HandleSuite2>()) {
        return {suite->host_lock_handle, suite->host_unlock_handle, suite->host_dispose_handle};
    }
    const PF_UtilCallbacks* utils = in_data->utils;
    if (utils == nullptr || utils->host_lock_handle == nullptr ||
        utils->host_unlock_handle == nullptr || utils->host_dispose_handle == nullptr) {
        SuiteHandler::MissingSuiteError();
    }
    return {utils->host_lock_handle, utils->host_unlock_handle, utils->host_dispose_handle};
}
