#include "host/host.h"

#include <atomic>

#include "host/host_error.h"

namespace quorvel::host {

namespace {

std::atomic<Host*> currentHost{nullptr};

}  // namespace

Host::Host(const std::string& modulePath) : handles_(ledger_, faults_), suites_(ledger_, faults_) {
    Host* none = nullptr;
    if (!currentHost.compare_exchange_strong(none, this)) {
        throw HostError("another host is alive");
    }
    try {
        module_ = std::make_unique<Module>(modulePath);
        effect_ = std::make_unique<EffectInstance>(*module_, ledger_, faults_, handles_);
    } catch (...) {
        currentHost = nullptr;
        throw;
    }
}

Host::~Host() {
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
