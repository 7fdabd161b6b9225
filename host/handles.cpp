#include "host/handles.h"

#include <cstring>
#include <new>

#include "host/faults.h"
#include "host/ledger.h"

namespace quorvel::host {

namespace {

constexpr uint64_t kLargestCleared = 64 * 1024 - 1;

std::string LockName(const std::string& handleName) {
    return "lock of " + handleName;
}

}  // namespace

HandleRegistry::HandleRegistry(Ledger& ledger, Faults& faults) : ledger_(ledger), faults_(faults) {}

HandleRegistry::~HandleRegistry() = default;

HandleRegistry::Record* HandleRegistry::Find(PF_Handle handle) const {
    const auto found = records_.find(handle);
    return found == records_.end() ? nullptr : found->second.get();
}

PF_Handle HandleRegistry::Make(uint64_t size, bool kept) {
    auto record = std::make_unique<Record>();
    if (size > 0) {
        record->memory = PooledBlock(size);
        if (record->memory.Get() == nullptr) {
            return nullptr;
        }
        record->master = record->memory.Get();
        if (size <= kLargestCleared) {
            std::memset(record->master, 0, size);
        }
    }
    record->size = size;
    record->kept = kept;
    record->name = "handle #" + std::to_string(++made_) + " (" + std::to_string(size) + " bytes)";
    PF_Handle handle = &record->master;
    if (!kept) {
        ledger_.Take(record->name);
    }
    records_.emplace(handle, std::move(record));
    return handle;
}

PF_Handle HandleRegistry::New(uint64_t size) {
    if (faults_.Enter("host_new_handle")) {
        return nullptr;
    }
    std::lock_guard<std::mutex> lock(mutex_);
    return Make(size, false);
}

void* HandleRegistry::Lock(PF_Handle handle) {
    const auto fault = faults_.Enter("host_lock_handle");
    std::lock_guard<std::mutex> lock(mutex_);
    Record* record = Find(handle);
    if (record == nullptr) {
        ledger_.Misuse("host_lock_handle of an unknown handle");
        return nullptr;
    }
    // A lock that gives nothing is still a lock: the module unlocks it as usual.
    ++record->locks;
    ledger_.Take(LockName(record->name));
    return fault ? nullptr : record->master;
}

void HandleRegistry::Unlock(PF_Handle handle) {
    faults_.Enter("host_unlock_handle");
    std::lock_guard<std::mutex> lock(mutex_);
    Record* record = Find(handle);
    if (record == nullptr) {
        ledger_.Misuse("host_unlock_handle of an unknown handle");
        return;
    }
    if (record->locks == 0) {
        ledger_.Misuse("host_unlock_handle of " + record->name + ", which is not locked");
        return;
    }
    --record->locks;
    ledger_.Give(LockName(record->name));
}

void HandleRegistry::Dispose(PF_Handle handle) {
    faults_.Enter("host_dispose_handle");
    std::lock_guard<std::mutex> lock(mutex_);
    const auto found = records_.find(handle);
    if (found == records_.end()) {
        ledger_.Misuse("host_dispose_handle of an unknown or disposed handle");
        return;
    }
    Record& record = *found->second;
    if (record.locks > 0) {
        ledger_.Misuse("host_dispose_handle of " + record.name + " while it is locked");
        for (; record.locks > 0; --record.locks) {
            ledger_.Give(LockName(record.name));
        }
    }
    if (!record.kept) {
        ledger_.Give(record.name);
    }
    records_.erase(found);
}

uint64_t HandleRegistry::Size(PF_Handle handle) {
    faults_.Enter("host_get_handle_size");
    std::lock_guard<std::mutex> lock(mutex_);
    const Record* record = Find(handle);
    if (record == nullptr) {
        ledger_.Misuse("host_get_handle_size of an unknown handle");
        return 0;
    }
    return record->size;
}

PF_Err HandleRegistry::Resize(uint64_t size, PF_Handle* handle) {
    if (const auto fault = faults_.Enter("host_resize_handle")) {
        return fault->Result(PF_Err_OUT_OF_MEMORY);
    }
    std::lock_guard<std::mutex> lock(mutex_);
    Record* record = handle != nullptr ? Find(*handle) : nullptr;
    if (record == nullptr) {
        ledger_.Misuse("host_resize_handle of an unknown handle");
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    if (record->locks > 0) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    PooledBlock memory;
    if (size > 0) {
        memory = PooledBlock(size);
        if (memory.Get() == nullptr) {
            return PF_Err_OUT_OF_MEMORY;
        }
        const uint64_t kept = record->size < size ? record->size : size;
        if (kept > 0) {
            std::memcpy(memory.Get(), record->memory.Get(), kept);
        }
        std::memset(memory.Get() + kept, 0, size - kept);
    }
    // The handle stays the same; only its master pointer moves.
    record->memory = std::move(memory);
    record->master = record->memory.Get();
    record->size = size;
    return PF_Err_NONE;
}

void HandleRegistry::Keep(PF_Handle handle) {
    std::lock_guard<std::mutex> lock(mutex_);
    Record* record = Find(handle);
    if (record != nullptr && !record->kept) {
        record->kept = true;
        ledger_.Give(record->name);
    }
}

void HandleRegistry::LetGo(PF_Handle handle) {
    std::lock_guard<std::mutex> lock(mutex_);
    Record* record = Find(handle);
    if (record != nullptr && record->kept) {
        record->kept = false;
        ledger_.Take(record->name);
    }
}

void HandleRegistry::DisposeKept(PF_Handle handle) {
    std::lock_guard<std::mutex> lock(mutex_);
    const auto found = records_.find(handle);
    if (found == records_.end()) {
        return;
    }
    if (!found->second->kept) {
        ledger_.Give(found->second->name);
    }
    for (; found->second->locks > 0; --found->second->locks) {
        ledger_.Give(LockName(found->second->name));
    }
    records_.erase(found);
}

bool HandleRegistry::IsLive(PF_Handle handle) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return Find(handle) != nullptr;
}

int HandleRegistry::LockCount(PF_Handle handle) const {
    std::lock_guard<std::mutex> lock(mutex_);
    const Record* record = Find(handle);
    return record == nullptr ? 0 : record->locks;
}

std::vector<uint8_t> HandleRegistry::Bytes(PF_Handle handle) const {
    std::lock_guard<std::mutex> lock(mutex_);
    const Record* record = Find(handle);
    if (record == nullptr || record->master == nullptr) {
        return {};
    }
    const auto* bytes = static_cast<const uint8_t*>(record->master);
    return std::vector<uint8_t>(bytes, bytes + record->size);
}

PF_Handle HandleRegistry::NewKept(const std::vector<uint8_t>& bytes) {
    std::lock_guard<std::mutex> lock(mutex_);
    PF_Handle handle = Make(bytes.size(), true);
    if (handle != nullptr && !bytes.empty()) {
        std::memcpy(*handle, bytes.data(), bytes.size());
    }
    return handle;
}

size_t HandleRegistry::LiveCount() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return records_.size();
}

}  // namespace quorvel::host
