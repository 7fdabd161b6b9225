#include "host/suite_registry.h"
#include "host/suites/aegp_calls.h"

namespace quorvel::host {

namespace {

using Kind = AegpObject::Kind;

// Memory freed while locked is freed all the same, but noted as a misuse. A free that fails
// still takes the memory back: the fault is in the answer only.
A_Err FreeMemHandle(AEGP_MemHandle memoryRef) {
    const auto fault = FaultAnswer("AEGP_FreeMemHandle");
    const AegpObject* memory = TheAegpObjects().Find(memoryRef, Kind::Memory);
    if (memory == nullptr) {
        return RefuseMisuse("AEGP_FreeMemHandle of memory that is not alive");
    }
    if (memory->locks > 0) {
        RefuseMisuse("AEGP_FreeMemHandle of " + memory->name + " while it is locked");
    }
    TheAegpObjects().Dispose(memoryRef, Kind::Memory);
    return fault ? *fault : PF_Err_NONE;
}

A_Err LockMemHandle(AEGP_MemHandle memoryRef, void** pointer) {
    AegpObject* memory = TheAegpObjects().Find(memoryRef, Kind::Memory);
    if (memory == nullptr || pointer == nullptr) {
        return RefuseMisuse("AEGP_LockMemHandle of memory that is not alive or without a place");
    }
    *pointer = nullptr;
    if (const auto fault = FaultAnswer("AEGP_LockMemHandle")) {
        return *fault;
    }
    ++memory->locks;
    *pointer = memory->memory.data();
    return PF_Err_NONE;
}

// An unlock that fails still unlocks: the fault is in the answer only.
A_Err UnlockMemHandle(AEGP_MemHandle memoryRef) {
    const auto fault = FaultAnswer("AEGP_UnlockMemHandle");
    AegpObject* memory = TheAegpObjects().Find(memoryRef, Kind::Memory);
    if (memory == nullptr || memory->locks == 0) {
        return RefuseMisuse("AEGP_UnlockMemHandle of memory that is not alive or not locked");
    }
    --memory->locks;
    return fault ? *fault : PF_Err_NONE;
}

A_Err GetMemHandleSize(AEGP_MemHandle memoryRef, AEGP_MemSize* size) {
    const AegpObject* memory = TheAegpObjects().Find(memoryRef, Kind::Memory);
    if (memory == nullptr || size == nullptr) {
        return RefuseMisuse("AEGP_GetMemHandleSize of memory that is not alive");
    }
    if (const auto fault = FaultAnswer("AEGP_GetMemHandleSize")) {
        return *fault;
    }
    *size = static_cast<AEGP_MemSize>(memory->memory.size() * sizeof(A_UTF16Char));
    return PF_Err_NONE;
}

const AEGP_MemorySuite1 kMemorySuite = {&FreeMemHandle, &LockMemHandle, &UnlockMemHandle,
                                        &GetMemHandleSize};

}  // namespace

extern const SuiteDefinition kAEGPMemorySuite1 = {kAEGPMemorySuite, kAEGPMemorySuiteVersion1,
                                                  &kMemorySuite};

}  // namespace quorvel::host
