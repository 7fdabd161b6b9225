#include "shell/toolkit/owned_handle.h"

#include <utility>

OwnedHandle::OwnedHandle(SuiteHandler* suites, uint64_t size)
    : suites_(suites), handle_(suites->HandleSuite2()->host_new_handle(size)) {}

OwnedHandle::OwnedHandle(OwnedHandle&& other) noexcept
    : suites_(other.suites_), handle_(other.Release()) {}

OwnedHandle& OwnedHandle::operator=(OwnedHandle&& other) noexcept {
    if (this != &other) {
        Dispose();
        suites_ = other.suites_;
        handle_ = other.Release();
    }
    return *this;
}

PF_Handle OwnedHandle::Release() {
    return std::exchange(handle_, nullptr);
}

void OwnedHandle::Dispose() noexcept {
    // The suite was acquired when the handle was made, so this cannot throw.
    if (handle_ != nullptr) {
        suites_->HandleSuite2()->host_dispose_handle(Release());
    }
}

NewLockedHandle::NewLockedHandle(SuiteHandler* suites, uint64_t size) : owned(suites, size) {
    if (owned.Get() != nullptr) {
        locked.emplace(suites, owned.Get());
    }
}

PF_Err NewLockedHandle::Failure(PF_Err notMade, PF_Err notLocked) const {
    if (owned.Get() == nullptr) {
        return notMade;
    }
    return Memory() == nullptr ? notLocked : PF_Err_NONE;
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
