#pragma once

#include <map>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "host_api/suites.h"

namespace quorvel::host {

class Faults;
class Ledger;

// One suite the host serves: its name, version and function table.
struct SuiteDefinition {
    const char* name;
    A_long version;
    const void* table;
};

// The basic suite's result for a suite the host does not serve.
constexpr SPErr kSuiteNotFound = PF_FOUR_CHAR('S', '!', 'F', 'd');

// The suites the host serves by (name, version), and its basic suite. Every successful
// acquisition is in the ledger until the module releases it with the same name and version.
// Safe to use from several threads.
class SuiteRegistry {
  public:
    SuiteRegistry(Ledger& ledger, Faults& faults);

    // Serves another suite (or replaces the table of a pair already served).
    void Add(const SuiteDefinition& suite);
    bool Serves(const std::string& name, A_long version) const;

    // The basic suite's AcquireSuite and ReleaseSuite.
    SPErr Acquire(const char* name, A_long version, const void** suite);
    SPErr Release(const char* name, A_long version);

  private:
    Ledger& ledger_;
    Faults& faults_;
    mutable std::mutex mutex_;
    std::map<std::pair<std::string, A_long>, const void*> tables_;
};

// The name under which the ledger counts acquisitions of a suite: "suite <name> <version>".
std::string SuiteLedgerName(const std::string& name, A_long version);

// The suites every host serves from the start (host/builtin_suites.cpp lists them), with
// the custom UI's suites among them.
const std::vector<SuiteDefinition>& BuiltinSuites();

// The custom UI's suites: Drawbot on Cairo and the custom UI suite (host/custom_ui_suites.cpp);
// none where the host is built without Cairo (host/custom_ui_suites_none.cpp, Windows).
const std::vector<SuiteDefinition>& CustomUiSuites();

}  // namespace quorvel::host
