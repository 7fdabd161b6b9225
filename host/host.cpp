#include "host/host.h"

#include <atomic>

#include "host/frame_hooks.h"
#include "host/host_error.h"

namespace quorvel::host {

namespace {

std::atomic<Host*> currentHost{nullptr};

// The frame's world, pixel and smart-render calls answer through the living host's fault
// injection and ledger.
CallFault FrameCallFault(const char* function) {
    const auto fault = Host::Current().faults().Enter(function);
    if (!fault) {
        return {};
    }
    if (fault->kind == Fault::Kind::Null) {
        return {PF_Err_NONE, true};
    }
    return {fault->code, false};
}

void CountFrameCall(const char* kind, int delta) {
    Ledger& ledger = Host::Current().ledger();
    if (delta > 0) {
        ledger.Take(kind);
    } else if (!ledger.GiveHeld(kind)) {
        ledger.Misuse(std::string("gave back ") + kind + " it did not hold");
    }
}

}  // namespace

Host::Host(const std::string& modulePath) : handles_(ledger_, faults_), suites_(ledger_, faults_) {
    Host* none = nullptr;
    if (!currentHost.compare_exchange_strong(none, this)) {
        throw HostError("another host is alive");
    }
    try {
        module_ = std::make_unique<Module>(modulePath);
        effect_ = std::make_unique<EffectInstance>(*module_, ledger_, faults_, handles_);
        InstallFrameHooks({&FrameCallFault, &CountFrameCall});
    } catch (...) {
        currentHost = nullptr;
        throw;
    }
}

Host::~Host() {
    InstallFrameHooks({});
    effect_.reset();
    module_.reset();
    states_.clear();
    currentHost = nullptr;
}

Host& Host::Current() {
    Host* host = currentHost.load();
    if (host == nullptr) {
        throw HostError("no host is alive");
    }
    return *host;
}

A_Err Host::Register() {
    return module_->Register(&registration_);
}

}  // namespace quorvel::host
