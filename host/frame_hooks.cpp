#include "host/frame_hooks.h"

#include <atomic>

namespace quorvel::host {

namespace {

std::atomic<CallFault (*)(const char*)> g_fault{nullptr};
std::atomic<void (*)(const char*, int)> g_count{nullptr};

}  // namespace

void InstallFrameHooks(const FrameHooks& hooks) {
    g_fault = hooks.fault;
    g_count = hooks.count;
}

CallFault FaultFor(const char* function) {
    CallFault (*fault)(const char*) = g_fault;
    return fault != nullptr ? fault(function) : CallFault{};
}

void CountFrameObject(const char* kind, int delta) {
    void (*count)(const char*, int) = g_count;
    if (count != nullptr) {
        count(kind, delta);
    }
}

}  // namespace quorvel::host
