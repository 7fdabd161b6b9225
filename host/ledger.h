#pragma once

#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace quorvel::host {

// Everything the host has handed to the module and expects back: handles, locks, suites,
// check-outs, and whatever later parts of the host hand out. Each item is a name ("suite PF
// ANSI Suite 1", "lock of handle #3") with a count; a command leaves the ledger balanced when
// every count is back at zero and the module misused nothing (gave back what it did not
// hold, used a handle that does not exist). Safe to use from several threads.
class Ledger {
  public:
    // The module now holds one more of item.
    void Take(const std::string& item);
    // The module gave one of item back.
    void Give(const std::string& item);
    // Gives one of item back when the module holds one; false (and nothing changes) when it
    // holds none.
    bool GiveHeld(const std::string& item);
    // A call that the host refused because it broke the host's rules.
    void Misuse(const std::string& what);

    long Count(const std::string& item) const;
    // Items whose count is not zero.
    std::map<std::string, long> Outstanding() const;
    std::vector<std::string> Misuses() const;

    bool IsBalanced() const;
    // "balanced", or one line per outstanding item and per misuse.
    std::string Describe() const;

  private:
    mutable std::mutex mutex_;
    std::map<std::string, long> counts_;
    std::vector<std::string> misuses_;
};

}  // namespace quorvel::host
