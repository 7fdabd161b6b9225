#include "tests/support/module_host.h"

#include <cstring>

namespace quorvel::testing {

::testing::AssertionResult LedgerBalanced(host::Host& host) {
    if (host.ledger().IsBalanced()) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "the ledger is not balanced:\n"
                                         << host.ledger().Describe();
}

namespace {

void Put(host::Host& host, PF_ParamIndex index, const PF_ParamDef& def) {
    host::Parameters& parameters = host.effect().parameters();
    while (parameters.Count() < index) {
        PF_ParamDef filler = {};
        filler.param_type = PF_Param_NO_DATA;
        parameters.Append(filler);
    }
    if (parameters.Count() == index) {
        parameters.Append(def);
    } else {
        parameters.Replace(index, def);
    }
}

}  // namespace

void PutCheckbox(host::Host& host, PF_ParamIndex index, PF_ParamValue value) {
    PF_ParamDef checkbox = {};
    checkbox.param_type = PF_Param_CHECKBOX;
    checkbox.u.bd.value = value;
    Put(host, index, checkbox);
}

void PutArbitrary(host::Host& host, PF_ParamIndex index, PF_ArbitraryH value, void* refcon) {
    PF_ParamDef arbitrary = {};
    arbitrary.param_type = PF_Param_ARBITRARY_DATA;
    arbitrary.u.arb_d.value = value;
    arbitrary.u.arb_d.refconPV = refcon;
    Put(host, index, arbitrary);
}

PF_OutData MarkedOutData() {
    PF_OutData out = {};
    std::memset(out.return_msg, 'x', sizeof(out.return_msg));
    return out;
}

}  // namespace quorvel::testing
