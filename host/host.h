#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <typeindex>
#include <unordered_map>

#include "host/effect_instance.h"
#include "host/faults.h"
#include "host/handles.h"
#include "host/ledger.h"
#include "host/module.h"
#include "host/registration.h"
#include "host/suite_registry.h"

namespace quorvel::host {

// The replacement host: it loads the effect module, registers it and drives one effect
// instance, serving the suites and callbacks the module calls. One host lives at a time in a
// process (the module's suite calls carry no pointer back to their host); it may be called
// from several threads at once.
//
//   Host host(modulePath);                      // load
//   host.Register();                            // PluginDataEntryFunction
//   host.effect().Send(PF_Cmd_GLOBAL_SETUP);    // one command, in_data/out_data built here
//   host.ledger().IsBalanced();                 // nothing left behind
//   host.faults().FailCall("host_new_handle", 1, PF_Err_OUT_OF_MEMORY);
//   host.suites().Add({"PF World Suite", 2, &table});
class Host {
  public:
    // Loads the module; throws HostError when it cannot be loaded, lacks an entry point, or
    // another host is alive.
    explicit Host(const std::string& modulePath);
    ~Host();
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    // The living host, for the functions the module calls; HostError when there is none.
    static Host& Current();

    // Registers the module; the registration function's result. What the module passed is in
    // registration().
    A_Err Register();
    const Registration& registration() const { return registration_; }

    EffectInstance& effect() { return *effect_; }
    Ledger& ledger() { return ledger_; }
    Faults& faults() { return faults_; }
    SuiteRegistry& suites() { return suites_; }
    HandleRegistry& handles() { return handles_; }

    // Per-host state of a part of the host (a suite's objects, the AEGP plug-in ids, ...):
    // made on first use, destroyed with the host. T needs a default constructor and guards
    // its own data when several threads use it.
    template <typename T>
    T& State() {
        std::lock_guard<std::mutex> lock(stateMutex_);
        std::shared_ptr<void>& slot = states_[std::type_index(typeid(T))];
        if (slot == nullptr) {
            slot = std::make_shared<T>();
        }
        return *static_cast<T*>(slot.get());
    }

  private:
    // Declared in the order of construction; the module goes before the state it may call.
    Ledger ledger_;
    Faults faults_;
    HandleRegistry handles_;
    SuiteRegistry suites_;
    std::mutex stateMutex_;
    // Hashed, not ordered: with MinGW's runtime the order of type_index (type_info::before) is
    // no strict order once types of anonymous namespaces are among the keys, and lookups fail.
    std::unordered_map<std::type_index, std::shared_ptr<void>> states_;
    Registration registration_;
    std::unique_ptr<Module> module_;
    std::unique_ptr<EffectInstance> effect_;
};

}  // namespace quorvel::host
