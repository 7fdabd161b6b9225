#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <vector>

#include "host_api/suites.h"

// A stand-in for the host's memory handles and basic suite, enough to drive the arbitrary-data
// callbacks without the module: it counts handles, locks and suites, and can fail on request.
class FakeHandleHost {
  public:
    FakeHandleHost();
    ~FakeHandleHost();
    FakeHandleHost(const FakeHandleHost&) = delete;
    FakeHandleHost& operator=(const FakeHandleHost&) = delete;

    PF_InData* InData() { return &inData_; }

    // Handles alive, locks not undone, suites acquired and not released.
    size_t LiveHandles() const { return blocks_.size(); }
    int OutstandingLocks() const { return lockCalls - unlockCalls; }
    int OutstandingSuites() const { return acquired_ - released_; }
    bool IsLive(PF_Handle handle) const { return blocks_.count(handle) != 0; }
    int newCalls = 0;
    int disposeCalls = 0;
    int lockCalls = 0;
    int unlockCalls = 0;

    // Faults: new handles give null; the lock call with this 1-based number gives null;
    // the handle suite is not to be had.
    bool failNewHandle = false;
    int failLockCall = 0;
    bool handleSuiteMissing = false;

  private:
    struct Block {
        std::vector<unsigned char> bytes;
    };

    static FakeHandleHost* current;
    static SPErr Acquire(const char* name, A_long version, const void** suite);
    static SPErr Release(const char* name, A_long version);
    static PF_Handle NewHandle(uint64_t size);
    static void* Lock(PF_Handle handle);
    static void Unlock(PF_Handle handle);
    static void Dispose(PF_Handle handle);
    static uint64_t Size(PF_Handle handle);

    std::map<PF_Handle, Block> blocks_;
    std::vector<std::unique_ptr<void*>> masters_;
    int acquired_ = 0;
    int released_ = 0;
    SPBasicSuite basic_{};
    PF_HandleSuite2 handleSuite_{};
    PF_InData inData_{};
};
