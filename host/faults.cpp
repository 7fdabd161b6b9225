#include "host/faults.h"

namespace quorvel::host {

void Faults::FailCall(const std::string& function, int nth, PF_Err code) {
    std::lock_guard<std::mutex> lock(mutex_);
    armed_.emplace(function, Armed{calls_[function] + nth, Fault{Fault::Kind::Error, code}});
}

void Faults::NullCall(const std::string& function, int nth) {
    std::lock_guard<std::mutex> lock(mutex_);
    armed_.emplace(function, Armed{calls_[function] + nth, Fault{Fault::Kind::Null, PF_Err_NONE}});
}

void Faults::MakeSuiteUnavailable(const std::string& name, A_long version) {
    std::lock_guard<std::mutex> lock(mutex_);
    unavailable_.emplace(name, version);
}

bool Faults::IsSuiteUnavailable(const std::string& name, A_long version) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return unavailable_.count({name, version}) != 0 || unavailable_.count({name, -1}) != 0;
}

void Faults::Clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    armed_.clear();
    unavailable_.clear();
}

long Faults::Calls(const std::string& function) const {
    std::lock_guard<std::mutex> lock(mutex_);
    const auto found = calls_.find(function);
    return found == calls_.end() ? 0 : found->second;
}

void Faults::StartJournal() {
    std::lock_guard<std::mutex> lock(mutex_);
    journaling_ = true;
    journal_.clear();
}

std::vector<std::string> Faults::Journal() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return journal_;
}

std::optional<Fault> Faults::Enter(const std::string& function) {
    std::lock_guard<std::mutex> lock(mutex_);
    const long call = ++calls_[function];
    if (journaling_) {
        journal_.push_back(function);
    }
    const auto [first, last] = armed_.equal_range(function);
    for (auto it = first; it != last; ++it) {
        if (it->second.atCall == call) {
            const Fault fault = it->second.fault;
            armed_.erase(it);
            return fault;
        }
    }
    return std::nullopt;
}

}  // namespace quorvel::host
