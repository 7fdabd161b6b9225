#include "host/ledger.h"

namespace quorvel::host {

void Ledger::Take(const std::string& item) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (++counts_[item] == 0) {
        counts_.erase(item);
    }
}

void Ledger::Give(const std::string& item) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (--counts_[item] == 0) {
        counts_.erase(item);
    }
}

bool Ledger::GiveHeld(const std::string& item) {
    std::lock_guard<std::mutex> lock(mutex_);
    const auto found = counts_.find(item);
    if (found == counts_.end() || found->second <= 0) {
        return false;
    }
    if (--found->second == 0) {
        counts_.erase(found);
    }
    return true;
}

void Ledger::Misuse(const std::string& what) {
    std::lock_guard<std::mutex> lock(mutex_);
    misuses_.push_back(what);
}

long Ledger::Count(const std::string& item) const {
    std::lock_guard<std::mutex> lock(mutex_);
    const auto found = counts_.find(item);
    return found == counts_.end() ? 0 : found->second;
}

std::map<std::string, long> Ledger::Outstanding() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return counts_;
}

std::vector<std::string> Ledger::Misuses() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return misuses_;
}

bool Ledger::IsBalanced() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return counts_.empty() && misuses_.empty();
}

std::string Ledger::Describe() const {
    std::lock_guard<std::mutex> lock(mutex_);
    if (counts_.empty() && misuses_.empty()) {
        return "balanced";
    }
    std::string text;
    for (const auto& [item, count] : counts_) {
        text += (count > 0 ? "still held: " : "given back more than held: ") + item + " x" +
                std::to_string(count > 0 ? count : -count) + "\n";
    }
    for (const std::string& misuse : misuses_) {
        text += "misuse: " + misuse + "\n";
    }
    return text;
}

}  // namespace quorvel::host
