#include "host/parameters.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "host/faults.h"
#include "host/handles.h"
#include "host/ledger.h"

namespace quorvel::host {

namespace {

std::string CheckoutName(PF_ParamIndex index) {
    return "check-out of parameter " + std::to_string(index);
}

constexpr PF_ParamIndex kFailedCheckout = -1;

bool IsRamp(const PF_ParamDef& def) {
    return def.param_type == PF_Param_ARBITRARY_DATA;
}

bool IsGroup(const PF_ParamDef& def) {
    return def.param_type == PF_Param_GROUP_START || def.param_type == PF_Param_GROUP_END;
}

bool HasName(const PF_ParamDef& def, const std::string& name) {
    return !name.empty() && name.size() < sizeof(def.name) &&
           std::strncmp(def.name, name.c_str(), sizeof(def.name)) == 0;
}

}  // namespace

PF_ParamDef InputLayerDefinition() {
    PF_ParamDef def = {};
    def.param_type = PF_Param_LAYER;
    return def;
}

Parameters::Parameters(Ledger& ledger, Faults& faults, HandleRegistry& handles,
                       EffectInstance& effect)
    : ledger_(ledger),
      faults_(faults),
      handles_(handles),
      effect_(effect),
      entries_{Entry{InputLayerDefinition(), {}}} {}

Parameters::~Parameters() = default;

bool Parameters::IsIndex(PF_ParamIndex index) const {
    return index >= 0 && index < static_cast<PF_ParamIndex>(entries_.size());
}

PF_Err Parameters::Add(PF_ParamIndex index, const PF_ParamDef& def) {
    if (const auto fault = faults_.Enter("add_param")) {
        return fault->Result(PF_Err_NONE);
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (index != -1 && index != static_cast<PF_ParamIndex>(entries_.size())) {
            return PF_Err_INVALID_INDEX;
        }
        entries_.push_back(Entry{def, {}});
    }
    if (IsRamp(def)) {
        handles_.Keep(def.u.arb_d.dephault);
        handles_.Keep(def.u.arb_d.value);
    }
    return PF_Err_NONE;
}

PF_Err Parameters::CompleteSetup() {
    std::vector<std::pair<PF_ParamIndex, PF_ArbitraryDef>> missing;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        for (size_t i = 0; i < entries_.size(); ++i) {
            const PF_ParamDef& def = entries_[i].def;
            if (IsRamp(def) && def.u.arb_d.value == nullptr && def.u.arb_d.dephault != nullptr) {
                missing.emplace_back(static_cast<PF_ParamIndex>(i), def.u.arb_d);
            }
        }
    }
    for (const auto& [index, type] : missing) {
        PF_ArbitraryH value = nullptr;
        if (const PF_Err err = MakeRampCopy(type, type.dephault, type.dephault, 0.0, &value)) {
            return err;
        }
        std::lock_guard<std::mutex> lock(mutex_);
        entries_[index].def.u.arb_d.value = value;
    }
    return PF_Err_NONE;
}

PF_Err Parameters::UpdateUi(PF_ParamIndex index, const PF_ParamDef& def) {
    if (const auto fault = faults_.Enter("PF_UpdateParamUI")) {
        return fault->Result(PF_Err_NONE);
    }
    std::lock_guard<std::mutex> lock(mutex_);
    if (index <= 0 || !IsIndex(index)) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    PF_ParamDef& own = entries_[index].def;
    std::memcpy(own.name, def.name, sizeof(own.name));
    own.name[sizeof(own.name) - 1] = '\0';
    own.ui_flags = def.ui_flags;
    own.ui_width = def.ui_width;
    own.ui_height = def.ui_height;
    own.flags = def.flags;
    uiUpdates_.emplace_back(index, def);
    return PF_Err_NONE;
}

std::vector<std::pair<PF_ParamIndex, PF_ParamDef>> Parameters::UiUpdates() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return uiUpdates_;
}

PF_ParamIndex Parameters::Append(const PF_ParamDef& def) {
    std::lock_guard<std::mutex> lock(mutex_);
    entries_.push_back(Entry{def, {}});
    return static_cast<PF_ParamIndex>(entries_.size() - 1);
}

bool Parameters::Replace(PF_ParamIndex index, const PF_ParamDef& def) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!IsIndex(index) || IsRamp(entries_[index].def) || IsRamp(def)) {
        return false;
    }
    entries_[index] = Entry{def, {}};
    return true;
}

A_long Parameters::Count() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return static_cast<A_long>(entries_.size());
}

PF_ParamDef Parameters::At(PF_ParamIndex index) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return IsIndex(index) ? entries_[index].def : PF_ParamDef{};
}

std::vector<PF_ParamDef> Parameters::Snapshot() const {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<PF_ParamDef> defs;
    defs.reserve(entries_.size());
    for (const Entry& entry : entries_) {
        defs.push_back(entry.def);
    }
    return defs;
}

std::vector<PF_ParamDef> Parameters::SnapshotAt(double time) const {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<PF_ParamDef> defs;
    defs.reserve(entries_.size());
    for (const Entry& entry : entries_) {
        PF_ParamDef def = entry.def;
        if (!entry.keys.empty()) {
            const KeySpan span = FindKeySpan(entry.keys, time);
            const Keyframe& left = entry.keys[span.left];
            if (IsRamp(def)) {
                def.u.arb_d.value = left.value.arb_d.value;
            } else {
                def.u = InterpolateValue(def.param_type, left.value, entry.keys[span.right].value,
                                         span.fraction);
            }
        }
        defs.push_back(def);
    }
    return defs;
}

PF_ParamIndex Parameters::Find(const std::string& displayName) const {
    std::lock_guard<std::mutex> lock(mutex_);
    PF_ParamIndex group = -1;
    for (size_t i = 1; i < entries_.size(); ++i) {
        const PF_ParamDef& def = entries_[i].def;
        if (!HasName(def, displayName)) {
            continue;
        }
        if (!IsGroup(def)) {
            return static_cast<PF_ParamIndex>(i);
        }
        if (group < 0) {
            group = static_cast<PF_ParamIndex>(i);
        }
    }
    return group;
}

PF_ParamIndex Parameters::FindSavedId(A_long savedId) const {
    std::lock_guard<std::mutex> lock(mutex_);
    for (size_t i = 1; i < entries_.size(); ++i) {
        if (entries_[i].def.uu.id == savedId) {
            return static_cast<PF_ParamIndex>(i);
        }
    }
    return -1;
}

PF_Err Parameters::ToValue(const PF_ParamDef& def, const ParamValue& value,
                           PF_ParamDefUnion* out) const {
    *out = def.u;
    if (!IsRamp(def)) {
        return NumberToValue(def.param_type, value.number, out) ? PF_Err_NONE
                                                                : PF_Err_BAD_CALLBACK_PARAM;
    }
    if (value.flatRamp.size() > std::numeric_limits<A_u_long>::max()) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    return KeepMade(def.u.arb_d, RampValues(def.u.arb_d).Unflatten(value.flatRamp),
                    &out->arb_d.value);
}

PF_Err Parameters::FromValue(const PF_ParamDef& def, const PF_ParamDefUnion& in,
                             ParamValue* value) const {
    *value = ParamValue{};
    if (!IsRamp(def)) {
        value->number = ValueToNumber(def.param_type, in);
        return PF_Err_NONE;
    }
    return RampValues(def.u.arb_d).Flatten(in.arb_d.value, &value->flatRamp);
}

PF_Err Parameters::SetValue(PF_ParamIndex index, const ParamValue& value) {
    PF_ParamDef own;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!IsIndex(index)) {
            return PF_Err_BAD_CALLBACK_PARAM;
        }
        own = entries_[index].def;
    }
    PF_ParamDefUnion made;
    if (const PF_Err err = ToValue(own, value, &made)) {
        return err;
    }
    PF_ArbitraryH replaced = nullptr;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        PF_ParamDef& def = entries_[index].def;
        if (IsRamp(def)) {
            replaced = def.u.arb_d.value;
            def.u.arb_d.value = made.arb_d.value;
        } else {
            def.u = made;
        }
    }
    DisposeRamp(own.u.arb_d, replaced);
    return PF_Err_NONE;
}

PF_Err Parameters::GetValue(PF_ParamIndex index, ParamValue* value) const {
    PF_ParamDef own;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!IsIndex(index)) {
            return PF_Err_BAD_CALLBACK_PARAM;
        }
        own = entries_[index].def;
    }
    return FromValue(own, own.u, value);
}

PF_Err Parameters::SetKeyframe(PF_ParamIndex index, double time, const ParamValue& value) {
    PF_ParamDef own;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!IsIndex(index) || !std::isfinite(time)) {
            return PF_Err_BAD_CALLBACK_PARAM;
        }
        own = entries_[index].def;
    }
    if ((own.flags & PF_ParamFlag_CANNOT_TIME_VARY) != 0) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    PF_ParamDefUnion made;
    if (const PF_Err err = ToValue(own, value, &made)) {
        return err;
    }
    PF_ArbitraryH replaced = nullptr;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        // Scenes add keys in order of time: each lands at the end without a walk over the
        // keys before it.
        std::vector<Keyframe>& keys = entries_[index].keys;
        const auto at = std::lower_bound(
            keys.begin(), keys.end(), time,
            [](const Keyframe& key, double keyTime) { return key.time < keyTime; });
        if (at != keys.end() && at->time == time) {
            replaced = IsRamp(own) ? at->value.arb_d.value : nullptr;
            at->value = made;
        } else {
            keys.insert(at, Keyframe{time, made});
        }
    }
    DisposeRamp(own.u.arb_d, replaced);
    return PF_Err_NONE;
}

PF_Err Parameters::GetKeyframe(PF_ParamIndex index, size_t key, double* time,
                               ParamValue* value) const {
    PF_ParamDef own;
    PF_ParamDefUnion keyValue;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!IsIndex(index) || key >= entries_[index].keys.size()) {
            return PF_Err_BAD_CALLBACK_PARAM;
        }
        own = entries_[index].def;
        *time = entries_[index].keys[key].time;
        keyValue = entries_[index].keys[key].value;
    }
    return FromValue(own, keyValue, value);
}

size_t Parameters::KeyframeCount(PF_ParamIndex index) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return IsIndex(index) ? entries_[index].keys.size() : 0;
}

PF_Err Parameters::ClearKeyframes(PF_ParamIndex index) {
    std::vector<Keyframe> keys;
    PF_ParamDef def;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!IsIndex(index)) {
            return PF_Err_BAD_CALLBACK_PARAM;
        }
        def = entries_[index].def;
        keys.swap(entries_[index].keys);
    }
    if (IsRamp(def)) {
        for (const Keyframe& key : keys) {
            DisposeRamp(def.u.arb_d, key.value.arb_d.value);
        }
    }
    return PF_Err_NONE;
}

ArbitraryValues Parameters::RampValues(const PF_ArbitraryDef& type) const {
    return ArbitraryValues(effect_, type.refconPV);
}

PF_Err Parameters::KeepMade(const PF_ArbitraryDef& type, const ArbitraryValue& value,
                            PF_ArbitraryH* made) const {
    *made = nullptr;
    if (value.err != PF_Err_NONE) {
        // A callback that failed after making its new value leaves it in the slot.
        DisposeRamp(type, value.handle);
        return value.err;
    }
    // An effect that could not get a handle may still report success.
    if (value.handle == nullptr) {
        return PF_Err_OUT_OF_MEMORY;
    }
    handles_.Keep(value.handle);
    *made = value.handle;
    return PF_Err_NONE;
}

PF_Err Parameters::MakeRampCopy(const PF_ArbitraryDef& type, PF_ArbitraryH left,
                                PF_ArbitraryH right, double fraction, PF_ArbitraryH* made) {
    const ArbitraryValues values = RampValues(type);
    return KeepMade(type,
                    left == right || fraction == 0.0 ? values.Copy(left)
                                                     : values.Interpolate(left, right, fraction),
                    made);
}

void Parameters::DisposeRamp(const PF_ArbitraryDef& type, PF_ArbitraryH handle) const {
    if (handle == nullptr) {
        return;
    }
    // Should the effect fail to dispose its value, the host still drops the handle.
    if (RampValues(type).Dispose(handle) != PF_Err_NONE) {
        handles_.DisposeKept(handle);
    }
}

void Parameters::DropFailedCheckouts(const PF_ParamDef* param) {
    // A module may reuse the memory of a definition whose check-out failed without checking
    // it in; the failed record must not stand in for a new check-out at that address.
    const auto [first, last] = checkouts_.equal_range(param);
    for (auto it = first; it != last;) {
        it = it->second.index == kFailedCheckout ? checkouts_.erase(it) : std::next(it);
    }
}

void Parameters::RecordFailedCheckout(const PF_ParamDef* param) {
    std::lock_guard<std::mutex> lock(mutex_);
    DropFailedCheckouts(param);
    checkouts_.emplace(param, CheckoutRecord{kFailedCheckout, nullptr, PF_ArbitraryDef{}});
}

PF_Err Parameters::Checkout(PF_ParamIndex index, A_long what_time, A_long, A_u_long time_scale,
                            PF_ParamDef* param) {
    const auto fault = faults_.Enter("checkout_param");
    if (param == nullptr) {
        ledger_.Misuse("checkout_param without a definition to fill");
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    if (fault) {
        RecordFailedCheckout(param);
        return fault->Result(PF_Err_BAD_CALLBACK_PARAM);
    }
    PF_ParamDef def;
    PF_ArbitraryH left = nullptr;
    PF_ArbitraryH right = nullptr;
    double fraction = 0.0;
    bool valid = false;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        valid = IsIndex(index) && time_scale != 0;
        if (valid) {
            const Entry& entry = entries_[index];
            def = entry.def;
            left = right = def.u.arb_d.value;
            if (!entry.keys.empty()) {
                const double time = static_cast<double>(what_time) / time_scale;
                const KeySpan span = FindKeySpan(entry.keys, time);
                const PF_ParamDefUnion& a = entry.keys[span.left].value;
                const PF_ParamDefUnion& b = entry.keys[span.right].value;
                left = a.arb_d.value;
                right = b.arb_d.value;
                fraction = span.fraction;
                if (!IsRamp(def)) {
                    def.u = InterpolateValue(def.param_type, a, b, span.fraction);
                }
            }
        }
    }
    if (!valid) {
        RecordFailedCheckout(param);
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    PF_ArbitraryH made = nullptr;
    if (IsRamp(def)) {
        if (const PF_Err err = MakeRampCopy(def.u.arb_d, left, right, fraction, &made)) {
            RecordFailedCheckout(param);
            return err;
        }
        def.u.arb_d.value = made;
    }
    *param = def;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        DropFailedCheckouts(param);
        checkouts_.emplace(param, CheckoutRecord{index, made, def.u.arb_d});
    }
    ledger_.Take(CheckoutName(index));
    return PF_Err_NONE;
}

PF_Err Parameters::Checkin(PF_ParamDef* param) {
    if (const auto fault = faults_.Enter("checkin_param")) {
        return fault->Result(PF_Err_NONE);
    }
    CheckoutRecord record;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        // A definition checked out again at the same address after a failed check-out
        // answers for the successful one first.
        const auto [first, last] = checkouts_.equal_range(param);
        auto found = first;
        for (auto it = first; it != last; ++it) {
            if (it->second.index != kFailedCheckout) {
                found = it;
                break;
            }
        }
        if (found == last) {
            ledger_.Misuse("checkin_param of a definition that is not checked out");
            return PF_Err_BAD_CALLBACK_PARAM;
        }
        record = found->second;
        checkouts_.erase(found);
    }
    DisposeRamp(record.rampType, record.madeRamp);
    if (record.index != kFailedCheckout) {
        ledger_.Give(CheckoutName(record.index));
    }
    return PF_Err_NONE;
}

size_t Parameters::OutstandingCheckouts() const {
    std::lock_guard<std::mutex> lock(mutex_);
    size_t count = 0;
    for (const auto& checkout : checkouts_) {
        count += checkout.second.index != kFailedCheckout ? 1 : 0;
    }
    return count;
}

void Parameters::DisposeRamps() {
    std::vector<std::pair<PF_ArbitraryDef, PF_ArbitraryH>> ramps;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        for (Entry& entry : entries_) {
            if (!IsRamp(entry.def)) {
                continue;
            }
            PF_ArbitraryDef& arb = entry.def.u.arb_d;
            for (Keyframe& key : entry.keys) {
                ramps.emplace_back(arb, key.value.arb_d.value);
            }
            entry.keys.clear();
            ramps.emplace_back(arb, arb.value);
            ramps.emplace_back(arb, arb.dephault);
            arb.value = nullptr;
            arb.dephault = nullptr;
        }
        for (auto& checkout : checkouts_) {
            ramps.emplace_back(checkout.second.rampType, checkout.second.madeRamp);
            checkout.second.madeRamp = nullptr;
        }
    }
    for (const auto& [type, handle] : ramps) {
        DisposeRamp(type, handle);
    }
}

}  // namespace quorvel::host
