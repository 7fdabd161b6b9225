#include "tests/shell/fake_effect_host.h"

#include <algorithm>
#include <cstring>

#include "ramp/ramp.h"

FakeEffectHost* FakeEffectHost::current = nullptr;

FakeEffectHost::FakeEffectHost() {
    current = this;
    utils_.host_new_handle = &NewHandle;
    utils_.host_lock_handle = &Lock;
    utils_.host_unlock_handle = &Unlock;
    utils_.host_dispose_handle = &Dispose;
    utils_.ansi.strcpy = [](A_char* dest, const A_char* src) { return std::strcpy(dest, src); };
    basic_.AcquireSuite = &Acquire;
    basic_.ReleaseSuite = &Release;
    handleSuite_.host_new_handle = &NewHandle;
    handleSuite_.host_lock_handle = &Lock;
    handleSuite_.host_unlock_handle = &Unlock;
    handleSuite_.host_dispose_handle = &Dispose;
    paramUtilsSuite_.PF_UpdateParamUI = &UpdateParamUI;

    in_data.inter.add_param = &AddParam;
    in_data.inter.register_ui = &RegisterUi;
    in_data.inter.checkout_param = &Checkout;
    in_data.inter.checkin_param = &Checkin;
    in_data.utils = &utils_;
    in_data.effect_ref = this;
    in_data.pica_basicP = &basic_;
    in_data.appl_id = static_cast<A_long>(PF_APPL_ID_AFTER_EFFECTS);
    in_data.current_time = 0;
    in_data.time_step = 1;
    in_data.time_scale = 24;
}

FakeEffectHost::~FakeEffectHost() {
    DisposeRampDefaults();
    if (current == this) {
        current = nullptr;
    }
}

void FakeEffectHost::DisposeRampDefaults() {
    for (PF_ParamDef& def : added) {
        if (def.param_type == PF_Param_ARBITRARY_DATA && def.u.arb_d.dephault != nullptr &&
            handles_.count(def.u.arb_d.dephault) != 0) {
            static_cast<Ramp*>(*def.u.arb_d.dephault)->ReleasePoints();
            handles_.erase(def.u.arb_d.dephault);
            def.u.arb_d.dephault = nullptr;
        }
    }
}

int FakeEffectHost::Unreleased() const {
    int count = 0;
    for (const auto& entry : acquired) {
        count += entry.second;
    }
    return count;
}

PF_Err FakeEffectHost::AddParam(PF_ProgPtr, PF_ParamIndex, PF_ParamDefPtr def) {
    FakeEffectHost* host = current;
    if (host->addParamCalls == 0) {
        host->numParamsAtFirstAdd = host->out_data.num_params;
    }
    if (host->addParamCalls++ == host->failAddParamAt) {
        return host->addParamError;
    }
    host->added.push_back(*def);
    host->addedNames.emplace_back(def->name);
    return PF_Err_NONE;
}

PF_Err FakeEffectHost::RegisterUi(PF_ProgPtr, PF_CustomUIInfo* info) {
    current->registered.push_back(*info);
    return current->registerUiError;
}

PF_Err FakeEffectHost::Checkout(PF_ProgPtr, PF_ParamIndex index, A_long, A_long, A_u_long,
                                PF_ParamDef* def) {
    FakeEffectHost* host = current;
    const int call = static_cast<int>(host->checkouts.size());
    host->checkouts.push_back(index);
    if (call == host->failCheckoutAt) {
        return host->checkoutError;
    }
    const auto found = host->values.find(index);
    if (found != host->values.end()) {
        *def = found->second;
    }
    return PF_Err_NONE;
}

PF_Err FakeEffectHost::Checkin(PF_ProgPtr, PF_ParamDef* def) {
    FakeEffectHost* host = current;
    const int call = static_cast<int>(host->checkins.size());
    host->checkins.push_back(*def);
    return call == host->failCheckinAt ? host->checkinError : PF_Err_NONE;
}

PF_Handle FakeEffectHost::NewHandle(uint64_t size) {
    FakeEffectHost* host = current;
    if (host->newHandles++ == host->newHandleNullAt) {
        return nullptr;
    }
    auto block = std::make_unique<Block>();
    block->bytes.assign(size, 0xCD);
    block->master = block->bytes.data();
    PF_Handle handle = &block->master;
    host->handles_[handle] = std::move(block);
    return handle;
}

void* FakeEffectHost::Lock(PF_Handle handle) {
    ++current->lockCount;
    return current->lockGivesNull ? nullptr : *handle;
}

void FakeEffectHost::Unlock(PF_Handle) {
    ++current->unlockCount;
}

void FakeEffectHost::Dispose(PF_Handle handle) {
    current->handles_.erase(handle);
}

SPErr FakeEffectHost::Acquire(const char* name, A_long version, const void** suite) {
    FakeEffectHost* host = current;
    *suite = nullptr;
    const std::string key = std::string(name) + " " + std::to_string(version);
    if (std::find(host->unavailableSuites.begin(), host->unavailableSuites.end(), key) !=
        host->unavailableSuites.end()) {
        return 1;
    }
    if (key == "PF Handle Suite 2") {
        *suite = &host->handleSuite_;
    } else if (key == "PF Param Utils Suite 3") {
        *suite = &host->paramUtilsSuite_;
    } else {
        return 1;
    }
    ++host->acquired[key];
    return 0;
}

SPErr FakeEffectHost::Release(const char* name, A_long version) {
    --current->acquired[std::string(name) + " " + std::to_string(version)];
    return 0;
}

PF_Err FakeEffectHost::UpdateParamUI(PF_ProgPtr, PF_ParamIndex index, const PF_ParamDef* def) {
    FakeEffectHost* host = current;
    const int call = static_cast<int>(host->updates.size());
    host->updates.emplace_back(index, *def);
    return call == host->failUpdateAt ? host->updateError : PF_Err_NONE;
}
