#include "host/suite_registry.h"

#include "host/faults.h"
#include "host/ledger.h"

namespace quorvel::host {

std::string SuiteLedgerName(const std::string& name, A_long version) {
    return "suite " + name + " " + std::to_string(version);
}

SuiteRegistry::SuiteRegistry(Ledger& ledger, Faults& faults) : ledger_(ledger), faults_(faults) {
    for (const SuiteDefinition& suite : BuiltinSuites()) {
        Add(suite);
    }
}

void SuiteRegistry::Add(const SuiteDefinition& suite) {
    std::lock_guard<std::mutex> lock(mutex_);
    tables_[{suite.name, suite.version}] = suite.table;
}

bool SuiteRegistry::Serves(const std::string& name, A_long version) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return tables_.count({name, version}) != 0;
}

SPErr SuiteRegistry::Acquire(const char* name, A_long version, const void** suite) {
    const auto fault = faults_.Enter("AcquireSuite");
    if (suite == nullptr || name == nullptr) {
        ledger_.Misuse("AcquireSuite without a name or a place for the suite");
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    *suite = nullptr;
    if (fault) {
        return fault->Result(kSPNoError);
    }
    if (faults_.IsSuiteUnavailable(name, version)) {
        return kSuiteNotFound;
    }
    std::lock_guard<std::mutex> lock(mutex_);
    const auto found = tables_.find({name, version});
    if (found == tables_.end()) {
        return kSuiteNotFound;
    }
    *suite = found->second;
    ledger_.Take(SuiteLedgerName(name, version));
    return kSPNoError;
}

SPErr SuiteRegistry::Release(const char* name, A_long version) {
    if (const auto fault = faults_.Enter("ReleaseSuite")) {
        return fault->Result(kSPNoError);
    }
    if (name == nullptr) {
        ledger_.Misuse("ReleaseSuite without a name");
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    const std::string item = SuiteLedgerName(name, version);
    if (!ledger_.GiveHeld(item)) {
        ledger_.Misuse("ReleaseSuite of " + item + ", which is not acquired");
        return kSuiteNotFound;
    }
    return kSPNoError;
}

}  // namespace quorvel::host
