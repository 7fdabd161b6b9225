#pragma once

#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "host_api/effect.h"

namespace quorvel::host {

// What an injected fault makes a host function do.
struct Fault {
    enum class Kind {
        // Return the code; hand out nothing.
        Error,
        // Report success but hand out null (a null handle, pointer or suite table).
        Null,
    };
    Kind kind;
    PF_Err code;

    // What a function that returns a code answers: the code, or for Null what the function
    // answers when it hands out null.
    PF_Err Result(PF_Err nullResult) const { return kind == Kind::Error ? code : nullResult; }
};

// Fault injection and call counting for the host's functions, which are named as the module
// calls them: "host_new_handle", "host_lock_handle", "AcquireSuite", "sprintf",
// "AEGP_RegisterWithAEGP", "checkout_param", "checkout_layer", ... Safe to use from several
// threads.
class Faults {
  public:
    // The nth call of function from now on (1 = the next one) fails with code.
    void FailCall(const std::string& function, int nth, PF_Err code);
    // The nth call of function from now on reports success but hands out null.
    void NullCall(const std::string& function, int nth);

    // AcquireSuite refuses the suite; version -1 stands for every version of name.
    void MakeSuiteUnavailable(const std::string& name, A_long version = -1);
    bool IsSuiteUnavailable(const std::string& name, A_long version) const;

    // Forgets every armed fault and unavailable suite (the call counts stay).
    void Clear();

    // How often function was called since the host started.
    long Calls(const std::string& function) const;

    // From now on, keeps the name of every call in the order of the calls (forgetting what
    // was kept before), so that a test can tell which call of a function came in which part
    // of a command.
    void StartJournal();
    std::vector<std::string> Journal() const;

    // Counts one call of function; the fault it must show, if one is armed for this call.
    // Every host function calls this first.
    std::optional<Fault> Enter(const std::string& function);

  private:
    struct Armed {
        long atCall;  // the call count at which the fault fires
        Fault fault;
    };

    mutable std::mutex mutex_;
    std::map<std::string, long> calls_;
    std::multimap<std::string, Armed> armed_;
    std::set<std::pair<std::string, A_long>> unavailable_;
    bool journaling_ = false;
    std::vector<std::string> journal_;
};

}  // namespace quorvel::host
