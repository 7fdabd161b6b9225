// The host's parameters on their own: values and keyframes over time, check-outs in the
// ledger.
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/module_params.h"

namespace quorvel::testing {
namespace {

using host::EffectInstance;
using host::ParamValue;

PF_ParamDef Definition(PF_ParamType type, const char* name, A_long savedId) {
    PF_ParamDef def = {};
    def.param_type = type;
    def.uu.id = savedId;
    std::strncpy(def.name, name, sizeof(def.name) - 1);
    return def;
}

class ParametersTest : public ModuleTest {
  protected:
    host::Parameters& parameters() { return effect().parameters(); }

    PF_ParamIndex Add(PF_ParamType type, const char* name, A_long savedId) {
        return parameters().Append(Definition(type, name, savedId));
    }

    // The definition the module would get at seconds, checked in again at once.
    PF_ParamDef At(PF_ParamIndex index, double seconds) {
        PF_ParamDef def = {};
        const A_long time = static_cast<A_long>(std::llround(seconds * kScale));
        EXPECT_EQ(EffectInstance::CheckoutParam(&effect(), index, time, 100, kScale, &def),
                  PF_Err_NONE);
        EXPECT_EQ(parameters().OutstandingCheckouts(), 1u);
        EXPECT_EQ(host.ledger().Count("check-out of parameter " + std::to_string(index)), 1);
        EXPECT_EQ(EffectInstance::CheckinParam(&effect(), &def), PF_Err_NONE);
        EXPECT_LEDGER_BALANCED(host);
        return def;
    }
};

// The number a definition holds, whatever its kind.
double ValueOf(const PF_ParamDef& def) {
    switch (def.param_type) {
        case PF_Param_FLOAT_SLIDER:
            return def.u.fs_d.value;
        case PF_Param_SLIDER:
            return def.u.sd.value;
        case PF_Param_CHECKBOX:
            return def.u.bd.value;
        case PF_Param_POPUP:
            return def.u.pd.value;
        default:
            return def.u.path_d.path_id;
    }
}

TEST_F(ParametersTest, KeyframedValuesAtSeveralTimes) {
    using Pairs = std::vector<std::pair<double, double>>;
    struct Case {
        PF_ParamType type;
        Pairs keys;  // time, value; set in this order
        Pairs at;    // time, value the module sees
    };
    const Case cases[] = {
        // Float sliders: the first key before it, linear between keys, the last key after it.
        {PF_Param_FLOAT_SLIDER, {{3, 20}, {1, 10}}, {{0, 10}, {1, 10}, {1.5, 12.5}, {100, 20}}},
        // Integer sliders round the linear value, halves away from zero.
        {PF_Param_SLIDER, {{0, 0}, {2, 3}}, {{0.5, 1}, {1, 2}, {1.5, 2}}},
        {PF_Param_SLIDER, {{0, -1}, {1, -2}}, {{0.5, -2}, {0.25, -1}}},
        // Checkboxes, popups and paths hold the earlier key.
        {PF_Param_CHECKBOX, {{1, 0}, {2, 1}}, {{1.99, 0}, {2, 1}}},
        {PF_Param_POPUP, {{0, 1}, {1, 3}}, {{0.99, 1}, {1, 3}}},
        {PF_Param_PATH, {{0, 7}, {1, 4294967295.0}}, {{0.9, 7}, {1, 4294967295.0}}},
    };
    for (const Case& c : cases) {
        const PF_ParamIndex index = Add(c.type, "Value", 10);
        for (const auto& [time, value] : c.keys) {
            ASSERT_EQ(parameters().SetKeyframe(index, time, Number(value)), PF_Err_NONE);
        }
        for (const auto& [time, value] : c.at) {
            EXPECT_EQ(ValueOf(At(index, time)), value) << c.type << " at " << time;
        }
    }

    // Without keyframes the value holds.
    const PF_ParamIndex amount = 1;
    ASSERT_EQ(parameters().ClearKeyframes(amount), PF_Err_NONE);
    ASSERT_EQ(parameters().SetValue(amount, Number(5.0)), PF_Err_NONE);
    EXPECT_EQ(At(amount, 7.0).u.fs_d.value, 5.0);
    // A key at an existing time replaces it; the keys stay in order of time.
    for (const auto& [time, value] : Pairs{{3, 30}, {1, 5}, {2, 20}, {1, 10}}) {
        ASSERT_EQ(parameters().SetKeyframe(amount, time, Number(value)), PF_Err_NONE);
    }
    ASSERT_EQ(parameters().KeyframeCount(amount), 3u);
    for (size_t key = 0; key < 3; ++key) {
        double time = 0.0;
        ParamValue value;
        ASSERT_EQ(parameters().GetKeyframe(amount, key, &time, &value), PF_Err_NONE);
        EXPECT_EQ(time, key + 1.0);
        EXPECT_EQ(value, Number(time * 10));
    }
    // The params array of a command shows the values at the command's time.
    EXPECT_EQ(parameters().SnapshotAt(1.5)[amount].u.fs_d.value, 15.0);
    EXPECT_EQ(parameters().SnapshotAt(1.5)[2].u.sd.value, 2);
}

TEST_F(ParametersTest, ValuesThatDoNotFitAreRefusedAndChangeNothing) {
    const PF_ParamIndex count = Add(PF_Param_SLIDER, "Count", 11);
    PF_ParamDef fixed = Definition(PF_Param_CHECKBOX, "Fixed", 12);
    fixed.flags = PF_ParamFlag_CANNOT_TIME_VARY;
    const PF_ParamIndex fixedIndex = parameters().Append(fixed);
    const PF_ParamIndex group = Add(PF_Param_GROUP_START, "Group", 13);

    ASSERT_EQ(parameters().SetValue(count, Number(2147483647.0)), PF_Err_NONE);
    for (double bad : {1.5, 2147483648.0, -2147483649.0, std::nan("")}) {
        EXPECT_EQ(parameters().SetValue(count, Number(bad)), PF_Err_BAD_CALLBACK_PARAM) << bad;
        EXPECT_EQ(parameters().SetKeyframe(count, 1.0, Number(bad)), PF_Err_BAD_CALLBACK_PARAM);
    }
    EXPECT_EQ(parameters().SetKeyframe(count, std::nan(""), Number(1)), PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(parameters().SetKeyframe(count, INFINITY, Number(1)), PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(parameters().KeyframeCount(count), 0u);
    EXPECT_EQ(At(count, 0.0).u.sd.value, 2147483647);

    EXPECT_EQ(parameters().SetValue(fixedIndex, Number(256)), PF_Err_NONE);
    EXPECT_EQ(parameters().SetKeyframe(fixedIndex, 1.0, Number(1)), PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(parameters().SetValue(group, Number(1)), PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(parameters().SetValue(99, Number(1)), PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(At(fixedIndex, 5.0).u.bd.value, 256);
}

TEST_F(ParametersTest, FailedCheckoutsAndBadCheckinsKeepTheLedgerHonest) {
    const PF_ParamIndex amount = Add(PF_Param_FLOAT_SLIDER, "Amount", 10);
    PF_ParamDef def = {};
    EXPECT_EQ(EffectInstance::CheckoutParam(&effect(), 99, 0, 1, kScale, &def),
              PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(EffectInstance::CheckoutParam(&effect(), amount, 0, 1, 0, &def),
              PF_Err_BAD_CALLBACK_PARAM)
        << "no time scale";
    host.faults().FailCall("checkout_param", 1, PF_Err_OUT_OF_MEMORY);
    EXPECT_EQ(EffectInstance::CheckoutParam(&effect(), amount, 0, 1, kScale, &def),
              PF_Err_OUT_OF_MEMORY);
    EXPECT_EQ(parameters().OutstandingCheckouts(), 0u);
    EXPECT_LEDGER_BALANCED(host);

    // The same definition checked out again without checking the failed one in: its
    // check-in answers for the successful check-out.
    EXPECT_EQ(EffectInstance::CheckoutParam(&effect(), amount, 0, 1, kScale, &def), PF_Err_NONE);
    EXPECT_FALSE(host.ledger().IsBalanced());
    EXPECT_EQ(EffectInstance::CheckinParam(&effect(), &def), PF_Err_NONE);
    EXPECT_LEDGER_BALANCED(host);

    // A failed check-out may still be checked in; anything else is misuse.
    host.faults().FailCall("checkout_param", 1, PF_Err_OUT_OF_MEMORY);
    EffectInstance::CheckoutParam(&effect(), amount, 0, 1, kScale, &def);
    EXPECT_EQ(EffectInstance::CheckinParam(&effect(), &def), PF_Err_NONE);
    EXPECT_LEDGER_BALANCED(host);
    EXPECT_EQ(EffectInstance::CheckinParam(&effect(), &def), PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(host.ledger().Misuses().size(), 1u);
}

TEST_F(ParametersTest, ARampDefaultThatTheEffectCannotCopyFailsTheSetup) {
    // The nine defaults take the first nine handles; the tenth is the first copy's.
    host.faults().NullCall("host_new_handle", 10);
    EXPECT_EQ(effect().Send(PF_Cmd_PARAMS_SETUP).err, PF_Err_OUT_OF_MEMORY);
    EXPECT_EQ(parameters().At(4).u.arb_d.value, nullptr);
    parameters().DisposeRamps();
    EXPECT_LEDGER_BALANCED(host);
}

}  // namespace
}  // namespace quorvel::testing
