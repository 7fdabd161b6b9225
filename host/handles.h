#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "host/memory_pool.h"
#include "host_api/effect.h"

namespace quorvel::host {

class Faults;
class Ledger;

// The host's memory handles: a handle points at a master pointer that points at the memory.
// Each handle has a size and a lock count. A new handle belongs to the module (it is in the
// ledger) until the host keeps it as the effect's global or sequence data or a parameter
// value. Misuse (an unknown or disposed handle, an unlock without a lock) is refused and
// recorded in the ledger, never followed. Safe to use from several threads.
class HandleRegistry {
  public:
    HandleRegistry(Ledger& ledger, Faults& faults);
    ~HandleRegistry();
    HandleRegistry(const HandleRegistry&) = delete;
    HandleRegistry& operator=(const HandleRegistry&) = delete;

    // The module's calls, by their names in "PF Handle Suite" 2. A size of 0 gives a handle
    // that holds no memory (its master pointer is null). A new handle of a record's size
    // (below 64 KiB) is cleared, so that what such records carry into saved projects is the
    // same from run to run; larger ones hold images that the effect writes whole (a frame's
    // read-back image) and are not.
    PF_Handle New(uint64_t size);
    void* Lock(PF_Handle handle);
    void Unlock(PF_Handle handle);
    void Dispose(PF_Handle handle);
    uint64_t Size(PF_Handle handle);
    PF_Err Resize(uint64_t size, PF_Handle* handle);

    // The host keeps handle: it leaves the module's part of the ledger. Nothing happens for
    // null, unknown or already kept handles.
    void Keep(PF_Handle handle);
    // The host lets go of handle; when it is still live the module owns it again (and the
    // ledger shows it as held unless the module disposes it).
    void LetGo(PF_Handle handle);
    // The host disposes a handle it keeps; nothing happens when it is not live.
    void DisposeKept(PF_Handle handle);

    bool IsLive(PF_Handle handle) const;
    int LockCount(PF_Handle handle) const;
    // A copy of the handle's memory; empty for an unknown handle.
    std::vector<uint8_t> Bytes(PF_Handle handle) const;
    // A new handle made by the host itself (kept by the host), holding bytes.
    PF_Handle NewKept(const std::vector<uint8_t>& bytes);
    size_t LiveCount() const;

  private:
    struct Record {
        void* master = nullptr;  // what a PF_Handle points at
        PooledBlock memory;
        uint64_t size = 0;
        int locks = 0;
        bool kept = false;
        std::string name;  // as the ledger shows it
    };

    Record* Find(PF_Handle handle) const;
    PF_Handle Make(uint64_t size, bool kept);

    Ledger& ledger_;
    Faults& faults_;
    mutable std::mutex mutex_;
    std::map<PF_Handle, std::unique_ptr<Record>> records_;
    long made_ = 0;
};

}  // namespace quorvel::host
