#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "host_api/effect.h"

namespace quorvel::host {

// The effect's own callbacks for the values of an arbitrary-data parameter, reached through
// PF_Cmd_ARBITRARY_CALLBACK. `type` is the parameter's PF_ArbitraryDef, whose id and refcon
// tell the effect which kind of value it is asked about. Every handle the effect makes here
// is the host's to keep and to give back through Dispose; a call that fails leaves no handle.
class ArbitraryData {
  public:
    // Sends PF_Cmd_ARBITRARY_CALLBACK with the request; the command's result.
    using Sender = std::function<PF_Err(PF_ArbParamsExtra* request)>;

    explicit ArbitraryData(Sender send) : send_(std::move(send)) {}

    PF_Err Copy(const PF_ArbitraryDef& type, PF_ArbitraryH source, PF_ArbitraryH* copy) const;
    PF_Err Interpolate(const PF_ArbitraryDef& type, PF_ArbitraryH left, PF_ArbitraryH right,
                       double fraction, PF_ArbitraryH* result) const;
    PF_Err Dispose(const PF_ArbitraryDef& type, PF_ArbitraryH handle) const;
    // FLAT_SIZE, then FLATTEN into a buffer of that size.
    PF_Err Flatten(const PF_ArbitraryDef& type, PF_ArbitraryH handle,
                   std::vector<uint8_t>* bytes) const;
    PF_Err Unflatten(const PF_ArbitraryDef& type, const std::vector<uint8_t>& bytes,
                     PF_ArbitraryH* handle) const;

  private:
    PF_Err Send(PF_FunctionSelector selector, const PF_ArbitraryDef& type,
                PF_ArbParamsExtra* request) const;
    PF_Err KeepOnlyOnSuccess(const PF_ArbitraryDef& type, PF_Err err, PF_ArbitraryH* made) const;

    Sender send_;
};

}  // namespace quorvel::host
