#include "tests/ramp/fake_handle_host.h"

#include <cstring>
#include <memory>

FakeHandleHost* FakeHandleHost::current = nullptr;

FakeHandleHost::FakeHandleHost() {
    current = this;
    basic_.AcquireSuite = &Acquire;
    basic_.ReleaseSuite = &Release;
    handleSuite_.host_new_handle = &NewHandle;
    handleSuite_.host_lock_handle = &Lock;
    handleSuite_.host_unlock_handle = &Unlock;
    handleSuite_.host_dispose_handle = &Dispose;
    handleSuite_.host_get_handle_size = &Size;
    inData_.pica_basicP = &basic_;
}

FakeHandleHost::~FakeHandleHost() {
    current = nullptr;
}

SPErr FakeHandleHost::Acquire(const char* name, A_long version, const void** suite) {
    if (std::strcmp(name, kPFHandleSuite) == 0 && version == kPFHandleSuiteVersion2 &&
        !current->handleSuiteMissing) {
        *suite = &current->handleSuite_;
        ++current->acquired_;
        return kSPNoError;
    }
    *suite = nullptr;
    return 1;
}

SPErr FakeHandleHost::Release(const char*, A_long) {
    ++current->released_;
    return kSPNoError;
}

PF_Handle FakeHandleHost::NewHandle(uint64_t size) {
    ++current->newCalls;
    if (current->failNewHandle) {
        return nullptr;
    }
    // The handle is a pointer to a master pointer, as the host's are.
    current->masters_.push_back(std::make_unique<void*>(nullptr));
    void** master = current->masters_.back().get();
    Block& block = current->blocks_[master];
    // Fresh host memory holds no zeros to rely on.
    block.bytes.assign(size, 0xCD);
    *master = block.bytes.data();
    return master;
}

void* FakeHandleHost::Lock(PF_Handle handle) {
    ++current->lockCalls;
    auto block = current->blocks_.find(handle);
    if (block == current->blocks_.end() || current->lockCalls == current->failLockCall) {
        return nullptr;
    }
    return block->second.bytes.data();
}

void FakeHandleHost::Unlock(PF_Handle) {
    ++current->unlockCalls;
}

void FakeHandleHost::Dispose(PF_Handle handle) {
    ++current->disposeCalls;
    current->blocks_.erase(handle);
}

uint64_t FakeHandleHost::Size(PF_Handle handle) {
    auto block = current->blocks_.find(handle);
    return block == current->blocks_.end() ? 0 : block->second.bytes.size();
}
