#include "host/suites/handle_suite.h"

#include "host/host.h"
#include "host/suite_registry.h"

namespace quorvel::host {

namespace {

PF_Handle NewHandle(uint64_t size) {
    return Host::Current().handles().New(size);
}
void* LockHandle(PF_Handle handle) {
    return Host::Current().handles().Lock(handle);
}
void UnlockHandle(PF_Handle handle) {
    Host::Current().handles().Unlock(handle);
}
void DisposeHandle(PF_Handle handle) {
    Host::Current().handles().Dispose(handle);
}
uint64_t HandleSize(PF_Handle handle) {
    return Host::Current().handles().Size(handle);
}
PF_Err ResizeHandle(uint64_t size, PF_Handle* handle) {
    return Host::Current().handles().Resize(size, handle);
}

const PF_HandleSuite2 kHandleSuite = {&NewHandle,     &LockHandle, &UnlockHandle,
                                      &DisposeHandle, &HandleSize, &ResizeHandle};

}  // namespace

const PF_HandleSuite2& HandleSuiteTable() {
    return kHandleSuite;
}

extern const SuiteDefinition kHandleSuite2 = {kPFHandleSuite, kPFHandleSuiteVersion2,
                                              &kHandleSuite};

}  // namespace quorvel::host
