#pragma once

#include <cstddef>
#include <map>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "host/arbitrary_values.h"
#include "host/keyframes.h"
#include "host/param_value.h"
#include "host_api/effect.h"

namespace quorvel::host {

class EffectInstance;
class Faults;
class HandleRegistry;
class Ledger;

// The effect instance's parameters, by index. Index 0 is the input layer, which the host adds
// itself; the module adds the rest at PF_Cmd_PARAMS_SETUP. Each parameter has a value and
// optional keyframes; a check-out hands the module a copy of the definition with the value at
// the asked time and stays in the ledger until it is checked in again.
//
// Ramps (arbitrary data) are the effect's own values: the host keeps the default handle that
// add_param hands over, makes the value a copy of it after PARAMS_SETUP, and has the effect
// copy, interpolate, flatten, unflatten and dispose them through its arbitrary-data callbacks.
// A ramp check-out gives a fresh copy (or the effect's interpolation between two keyframes)
// that the check-in disposes again.
//
// Check-outs may come from several threads at once; the host's own edits (values, keyframes)
// must not overlap a command that reads them.
class Parameters {
  public:
    // effect answers the arbitrary-data requests about the ramp values.
    Parameters(Ledger& ledger, Faults& faults, HandleRegistry& handles, EffectInstance& effect);
    ~Parameters();
    Parameters(const Parameters&) = delete;
    Parameters& operator=(const Parameters&) = delete;

    // in_data->inter.add_param: index -1 or the next index appends def; a ramp's default
    // handle becomes the host's.
    PF_Err Add(PF_ParamIndex index, const PF_ParamDef& def);
    // After PF_Cmd_PARAMS_SETUP: every ramp without a value gets a copy of its default. The
    // first copy that the effect fails to make ends it with the effect's error: a ramp
    // without a value would render as no curve at all.
    PF_Err CompleteSetup();
    // "PF Param Utils Suite" 3 PF_UpdateParamUI: takes the UI part of def (name, ui_flags,
    // ui_width, ui_height, flags); the value stays the host's.
    PF_Err UpdateUi(PF_ParamIndex index, const PF_ParamDef& def);
    // Every PF_UpdateParamUI the module sent, in order.
    std::vector<std::pair<PF_ParamIndex, PF_ParamDef>> UiUpdates() const;

    // The host's own way to put a parameter in place (tests, scene set-up): appends.
    PF_ParamIndex Append(const PF_ParamDef& def);
    // Replaces the definition at index (its value included, keyframes dropped); false for an
    // unknown index. Not for ramps, whose handles the host owns.
    bool Replace(PF_ParamIndex index, const PF_ParamDef& def);

    A_long Count() const;
    // A copy of the definition at index with its value without keyframes; zeroed for an
    // unknown index.
    PF_ParamDef At(PF_ParamIndex index) const;
    // Copies of every definition, in index order, with the values without keyframes.
    std::vector<PF_ParamDef> Snapshot() const;
    // What a command's params array shows at time (seconds): each value at that time; a ramp
    // shows its own value handle, or with keyframes the handle of the key at or before time.
    std::vector<PF_ParamDef> SnapshotAt(double time) const;

    // The parameter with this display name (a value parameter before a group of the same
    // name); -1 when there is none.
    PF_ParamIndex Find(const std::string& displayName) const;
    // The parameter saved under this id; -1 when there is none.
    PF_ParamIndex FindSavedId(A_long savedId) const;

    // The value without keyframes, and the keyframes. Ramps are set and read in their flat
    // form through the effect. A failure (unknown index, a type without a value, a number
    // that does not fit, an effect callback's error) changes nothing.
    PF_Err SetValue(PF_ParamIndex index, const ParamValue& value);
    PF_Err GetValue(PF_ParamIndex index, ParamValue* value) const;
    // Adds a keyframe, or replaces the one at the same time. Parameters that cannot vary over
    // time refuse keyframes.
    PF_Err SetKeyframe(PF_ParamIndex index, double time, const ParamValue& value);
    PF_Err GetKeyframe(PF_ParamIndex index, size_t key, double* time, ParamValue* value) const;
    size_t KeyframeCount(PF_ParamIndex index) const;
    PF_Err ClearKeyframes(PF_ParamIndex index);

    // in_data->inter.checkout_param and checkin_param.
    PF_Err Checkout(PF_ParamIndex index, A_long what_time, A_long time_step, A_u_long time_scale,
                    PF_ParamDef* param);
    PF_Err Checkin(PF_ParamDef* param);

    // Check-outs not yet checked in.
    size_t OutstandingCheckouts() const;

    // Gives every ramp handle back to the effect (values, keyframes, defaults, copies still
    // checked out); the effect must still be loaded. The parameters stay, without values.
    void DisposeRamps();

  private:
    struct Entry {
        PF_ParamDef def;
        std::vector<Keyframe> keys;
    };
    struct CheckoutRecord {
        PF_ParamIndex index;  // -1 for a failed check-out
        PF_ArbitraryH madeRamp;
        PF_ArbitraryDef rampType;
    };

    bool IsIndex(PF_ParamIndex index) const;
    // A value member for def holding value (a ramp: a new handle the host keeps).
    PF_Err ToValue(const PF_ParamDef& def, const ParamValue& value, PF_ParamDefUnion* out) const;
    PF_Err FromValue(const PF_ParamDef& def, const PF_ParamDefUnion& in, ParamValue* value) const;
    ArbitraryValues RampValues(const PF_ArbitraryDef& type) const;
    // Takes a value the effect made: kept by the host on success; a failure leaves nothing.
    PF_Err KeepMade(const PF_ArbitraryDef& type, const ArbitraryValue& value,
                    PF_ArbitraryH* made) const;
    PF_Err MakeRampCopy(const PF_ArbitraryDef& type, PF_ArbitraryH left, PF_ArbitraryH right,
                        double fraction, PF_ArbitraryH* made);
    void DisposeRamp(const PF_ArbitraryDef& type, PF_ArbitraryH handle) const;
    void RecordFailedCheckout(const PF_ParamDef* param);
    void DropFailedCheckouts(const PF_ParamDef* param);  // mutex_ held

    Ledger& ledger_;
    Faults& faults_;
    HandleRegistry& handles_;
    EffectInstance& effect_;
    mutable std::mutex mutex_;
    std::vector<Entry> entries_;
    std::vector<std::pair<PF_ParamIndex, PF_ParamDef>> uiUpdates_;
    // By the address of the definition handed out.
    std::multimap<const PF_ParamDef*, CheckoutRecord> checkouts_;
};

// A definition of the input layer, as the host adds it at index 0.
PF_ParamDef InputLayerDefinition();

}  // namespace quorvel::host
