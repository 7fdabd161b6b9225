#include "host/suites/call_answers.h"

#include "host/host.h"

namespace quorvel::host {

std::optional<A_Err> FaultAnswer(const char* function) {
    const auto fault = Host::Current().faults().Enter(function);
    if (!fault) {
        return std::nullopt;
    }
    return fault->Result(PF_Err_NONE);
}

A_Err RefuseMisuse(const std::string& what) {
    Host::Current().ledger().Misuse(what);
    return PF_Err_BAD_CALLBACK_PARAM;
}

}  // namespace quorvel::host
