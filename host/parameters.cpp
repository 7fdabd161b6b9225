#include "host/parameters.h"

#include <string>

#include "host/faults.h"
#include "host/ledger.h"

namespace quorvel::host {

namespace {

std::string CheckoutName(PF_ParamIndex index) {
    return "check-out of parameter " + std::to_string(index);
}

constexpr PF_ParamIndex kFailedCheckout = -1;

}  // namespace

PF_ParamDef InputLayerDefinition() {
    PF_ParamDef def = {};
    def.param_type = PF_Param_LAYER;
    return def;
}

Parameters::Parameters(Ledger& ledger, Faults& faults)
    : ledger_(ledger), faults_(faults), definitions_{InputLayerDefinition()} {}

PF_Err Parameters::Add(PF_ParamIndex index, const PF_ParamDef& def) {
    if (const auto fault = faults_.Enter("add_param")) {
        return fault->Result(PF_Err_NONE);
    }
    std::lock_guard<std::mutex> lock(mutex_);
    if (index != -1 && index != static_cast<PF_ParamIndex>(definitions_.size())) {
        return PF_Err_INVALID_INDEX;
    }
    definitions_.push_back(def);
    return PF_Err_NONE;
}

PF_ParamIndex Parameters::Append(const PF_ParamDef& def) {
    std::lock_guard<std::mutex> lock(mutex_);
    definitions_.push_back(def);
    return static_cast<PF_ParamIndex>(definitions_.size() - 1);
}

bool Parameters::Replace(PF_ParamIndex index, const PF_ParamDef& def) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (index < 0 || index >= static_cast<PF_ParamIndex>(definitions_.size())) {
        return false;
    }
    definitions_[index] = def;
    return true;
}

A_long Parameters::Count() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return static_cast<A_long>(definitions_.size());
}

PF_ParamDef Parameters::At(PF_ParamIndex index) const {
    std::lock_guard<std::mutex> lock(mutex_);
    if (index < 0 || index >= static_cast<PF_ParamIndex>(definitions_.size())) {
        return PF_ParamDef{};
    }
    return definitions_[index];
}

std::vector<PF_ParamDef> Parameters::Snapshot() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return definitions_;
}

PF_Err Parameters::Checkout(PF_ParamIndex index, A_long, A_long, A_u_long, PF_ParamDef* param) {
    const auto fault = faults_.Enter("checkout_param");
    if (param == nullptr) {
        ledger_.Misuse("checkout_param without a definition to fill");
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    std::lock_guard<std::mutex> lock(mutex_);
    PF_Err err = PF_Err_NONE;
    if (fault) {
        err = fault->Result(PF_Err_BAD_CALLBACK_PARAM);
    } else if (index < 0 || index >= static_cast<PF_ParamIndex>(definitions_.size())) {
        err = PF_Err_BAD_CALLBACK_PARAM;
    }
    if (err != PF_Err_NONE) {
        checkouts_.emplace(param, kFailedCheckout);
        return err;
    }
    *param = definitions_[index];
    checkouts_.emplace(param, index);
    ledger_.Take(CheckoutName(index));
    return PF_Err_NONE;
}

PF_Err Parameters::Checkin(PF_ParamDef* param) {
    if (const auto fault = faults_.Enter("checkin_param")) {
        return fault->Result(PF_Err_NONE);
    }
    std::lock_guard<std::mutex> lock(mutex_);
    const auto found = checkouts_.find(param);
    if (found == checkouts_.end()) {
        ledger_.Misuse("checkin_param of a definition that is not checked out");
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    if (found->second != kFailedCheckout) {
        ledger_.Give(CheckoutName(found->second));
    }
    checkouts_.erase(found);
    return PF_Err_NONE;
}

size_t Parameters::OutstandingCheckouts() const {
    std::lock_guard<std::mutex> lock(mutex_);
    size_t count = 0;
    for (const auto& checkout : checkouts_) {
        count += checkout.second != kFailedCheckout ? 1 : 0;
    }
    return count;
}

}  // namespace quorvel::host
