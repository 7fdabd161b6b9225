#include "host/suites/utility_suite.h"

#include "host/host.h"
#include "host/suite_registry.h"

namespace quorvel::host {

AEGP_PluginID AegpRegistrations::Register(const std::string& name) {
    std::lock_guard<std::mutex> lock(mutex_);
    const AEGP_PluginID id = kFirstId + static_cast<AEGP_PluginID>(entries_.size());
    entries_.push_back(Entry{name, id});
    return id;
}

std::vector<AegpRegistrations::Entry> AegpRegistrations::Entries() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return entries_;
}

namespace {

A_Err RegisterWithAEGP(AEGP_GlobalRefcon, const A_char* plugin_name, AEGP_PluginID* plugin_id) {
    Host& host = Host::Current();
    if (const auto fault = host.faults().Enter("AEGP_RegisterWithAEGP")) {
        return fault->Result(PF_Err_NONE);
    }
    if (plugin_name == nullptr || plugin_id == nullptr) {
        host.ledger().Misuse("AEGP_RegisterWithAEGP without a name or a place for the id");
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    *plugin_id = host.State<AegpRegistrations>().Register(plugin_name);
    return PF_Err_NONE;
}

const AEGP_UtilitySuite7 kUtilitySuite = {&RegisterWithAEGP};

}  // namespace

extern const SuiteDefinition kUtilitySuite7 = {kAEGPUtilitySuite, kAEGPUtilitySuiteVersion7,
                                               &kUtilitySuite};

}  // namespace quorvel::host
