#pragma once

#include <string>

#include <gtest/gtest.h>

#include "host/host.h"
#include "host_api/effect.h"

namespace quorvel::testing {

// Passes when the host's ledger is balanced; otherwise lists what is left behind.
::testing::AssertionResult LedgerBalanced(host::Host& host);

// The tests' shorthand for "the command left nothing behind".
#define EXPECT_LEDGER_BALANCED(host) EXPECT_TRUE(::quorvel::testing::LedgerBalanced(host))

// After a give-back that the host refused (a failing release, check-in or clean-up): the
// module asked exactly once, so exactly one item whose name starts with kind is still held,
// once. Forgets it, so that the next command starts from a balanced ledger.
::testing::AssertionResult ForgetRefusedItem(host::Host& host, const std::string& kind);

// Puts a checkbox with value at index, after parameters without data up to it.
void PutCheckbox(host::Host& host, PF_ParamIndex index, PF_ParamValue value);

#ifdef QUORVEL_MODULE_PATH
// A host with the built module loaded and registered.
class ModuleTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_EQ(host.Register(), PF_Err_NONE); }

    host::EffectInstance& effect() { return host.effect(); }

    host::Host host{QUORVEL_MODULE_PATH};
};
#endif

}  // namespace quorvel::testing
