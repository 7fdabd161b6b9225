#pragma once

#include <string>
#include <vector>

#include "host_api/effect.h"

namespace quorvel::host {

class EffectInstance;

// A value made by the effect, or the failure to make it. The handle is the caller's to give
// back with Dispose whenever it is not null, also when err is not PF_Err_NONE.
struct ArbitraryValue {
    PF_Err err;
    PF_ArbitraryH handle;
};

// The host's side of the values of one arbitrary-data parameter (named by its refcon): every
// value is made, copied, saved, restored, blended, compared, printed, scanned and disposed by
// the effect through PF_Cmd_ARBITRARY_CALLBACK; the host never looks inside one.
class ArbitraryValues {
  public:
    ArbitraryValues(EffectInstance& effect, void* refcon);

    // A request for selector carrying the refcon, every other member zeroed.
    PF_ArbParamsExtra Request(PF_FunctionSelector selector) const;
    // Sends a request as it is; the command's result.
    PF_Err Send(PF_ArbParamsExtra* request) const;

    ArbitraryValue New() const;
    PF_Err Dispose(PF_ArbitraryH value) const;
    ArbitraryValue Copy(PF_ArbitraryH source) const;
    // The flat form, as the host saves it in a project: its size asked first, then exactly
    // that many bytes.
    PF_Err Flatten(PF_ArbitraryH value, std::vector<uint8_t>* bytes) const;
    ArbitraryValue Unflatten(const std::vector<uint8_t>& bytes) const;
    ArbitraryValue Interpolate(PF_ArbitraryH left, PF_ArbitraryH right, double fraction) const;
    PF_Err Compare(PF_ArbitraryH a, PF_ArbitraryH b, PF_ArbCompareResult* result) const;
    // The text form: its size asked first, then the text.
    PF_Err Print(PF_ArbitraryH value, std::string* text) const;
    // Scans exactly the bytes of text (no terminating NUL is passed).
    ArbitraryValue Scan(const std::string& text) const;

  private:
    EffectInstance& effect_;
    void* refcon_;
};

}  // namespace quorvel::host
