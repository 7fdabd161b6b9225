#pragma once

#include <map>
#include <mutex>
#include <vector>

#include "host_api/effect.h"

namespace quorvel::host {

class Faults;
class Ledger;

// The effect instance's parameters, by index. Index 0 is the input layer, which the host adds
// itself; the module adds the rest at PF_Cmd_PARAMS_SETUP. A check-out hands the module a
// copy of a definition with its value and stays in the ledger until it is checked in again;
// a check-in of a definition whose check-out failed is accepted, as the host asks modules to
// check in even then. Safe to use from several threads.
class Parameters {
  public:
    Parameters(Ledger& ledger, Faults& faults);

    // in_data->inter.add_param: index -1 or the next index appends def.
    PF_Err Add(PF_ParamIndex index, const PF_ParamDef& def);
    // The host's own way to put a parameter in place (tests, scene set-up): appends.
    PF_ParamIndex Append(const PF_ParamDef& def);
    // Replaces the definition at index (its value included); false for an unknown index.
    bool Replace(PF_ParamIndex index, const PF_ParamDef& def);

    A_long Count() const;
    // A copy of the definition at index; zeroed for an unknown index.
    PF_ParamDef At(PF_ParamIndex index) const;
    // Copies of every definition, in index order: what each command's params array shows.
    std::vector<PF_ParamDef> Snapshot() const;

    // in_data->inter.checkout_param and checkin_param.
    PF_Err Checkout(PF_ParamIndex index, A_long what_time, A_long time_step, A_u_long time_scale,
                    PF_ParamDef* param);
    PF_Err Checkin(PF_ParamDef* param);

    // Check-outs not yet checked in.
    size_t OutstandingCheckouts() const;

  private:
    Ledger& ledger_;
    Faults& faults_;
    mutable std::mutex mutex_;
    std::vector<PF_ParamDef> definitions_;
    // By the address of the definition handed out: its index, or -1 for a failed check-out.
    std::multimap<const PF_ParamDef*, PF_ParamIndex> checkouts_;
};

// A definition of the input layer, as the host adds it at index 0.
PF_ParamDef InputLayerDefinition();

}  // namespace quorvel::host
