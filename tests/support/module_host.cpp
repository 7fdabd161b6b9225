#include "tests/support/module_host.h"

namespace quorvel::testing {

::testing::AssertionResult LedgerBalanced(host::Host& host) {
    if (host.ledger().IsBalanced()) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "the ledger is not balanced:\n"
                                         << host.ledger().Describe();
}

::testing::AssertionResult ForgetRefusedItem(host::Host& host, const std::string& kind) {
    std::string held;
    int count = 0;
    for (const auto& [item, number] : host.ledger().Outstanding()) {
        if (item.rfind(kind, 0) == 0) {
            held = item;
            count += static_cast<int>(number);
        }
    }
    if (count != 1) {
        return ::testing::AssertionFailure()
               << count << " items of \"" << kind << "\" held:\n"
               << host.ledger().Describe();
    }
    host.ledger().GiveHeld(held);
    return ::testing::AssertionSuccess();
}

void PutCheckbox(host::Host& host, PF_ParamIndex index, PF_ParamValue value) {
    host::Parameters& parameters = host.effect().parameters();
    PF_ParamDef definition = {};
    definition.param_type = PF_Param_NO_DATA;
    while (parameters.Count() <= index) {
        parameters.Append(definition);
    }
    definition.param_type = PF_Param_CHECKBOX;
    definition.u.bd.value = value;
    parameters.Replace(index, definition);
}

}  // namespace quorvel::testing
