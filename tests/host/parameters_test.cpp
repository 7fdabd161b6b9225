// The host's parameters on their own: values and keyframes over time, check-outs in the
// ledger.
#include <cmath>
#include <cstring>
#include <limits>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "host/project.h"
#include "shell/params/param_index.h"
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

// A project saved and opened again in a new host keeps every value and keyframe the user set:
// ramps through their flat form, the sequence data through its flat record.
TEST(ProjectTest, ASavedProjectRestoresEveryValueAndKeyframe) {
    using Streams = std::vector<std::pair<ParamValue, std::vector<std::pair<double, ParamValue>>>>;
    const auto read = [](host::Parameters& parameters) {
        Streams streams(PARAM_COUNT);
        for (PF_ParamIndex index = 1; index < PARAM_COUNT; ++index) {
            parameters.GetValue(index, &streams[index].first);
            for (size_t key = 0; key < parameters.KeyframeCount(index); ++key) {
                streams[index].second.emplace_back();
                parameters.GetKeyframe(index, key, &streams[index].second.back().first,
                                       &streams[index].second.back().second);
            }
        }
        return streams;
    };
    host::SavedProject project;
    Streams saved;
    {
        host::Host host(QUORVEL_MODULE_PATH);
        EffectInstance& effect = host.effect();
        ASSERT_EQ(host.Register(), PF_Err_NONE);
        for (PF_Cmd cmd : {PF_Cmd_GLOBAL_SETUP, PF_Cmd_PARAMS_SETUP, PF_Cmd_SEQUENCE_SETUP}) {
            ASSERT_EQ(effect.Send(cmd).err, PF_Err_NONE);
        }
        host::Parameters& parameters = effect.parameters();
        // A value unlike its default for every parameter that holds one.
        double number = 1.0;
        for (PF_ParamIndex index = 1; index < PARAM_COUNT; ++index, number += 1.0) {
            const PF_ParamDef def = parameters.At(index);
            const std::map<PF_ParamType, ParamValue> values = {
                {PF_Param_FLOAT_SLIDER, Number(number + 0.25)},
                {PF_Param_SLIDER, Number(number + 3)},
                {PF_Param_PATH, Number(number + 3)},
                {PF_Param_CHECKBOX, Number(def.u.bd.value == 0 ? 1 : 0)},
                {PF_Param_POPUP, Number(1)},
                {PF_Param_ARBITRARY_DATA,
                 Flat(RampMode_WithoutSin, RampInterpolation_Bezier,
                      {{0.0f, 0.1f}, {static_cast<float>(number / 100), 0.7f}})}};
            const auto value = values.find(def.param_type);
            if (value != values.end()) {
                ASSERT_EQ(parameters.SetValue(index, value->second), PF_Err_NONE) << def.name;
                ParamValue kept;
                parameters.GetValue(index, &kept);
                EXPECT_EQ(kept, value->second) << def.name;
            }
        }
        for (PF_ParamIndex index : {PARAM_OFFSET, PARAM_ANIMATE, PARAM_STRIPS_DISTRIBUTION}) {
            for (double seconds : {0.5, 4.0}) {
                ParamValue value;
                parameters.GetValue(index, &value);
                ASSERT_EQ(parameters.SetKeyframe(index, seconds, value), PF_Err_NONE) << index;
            }
        }
        saved = read(parameters);
        ASSERT_EQ(host::SaveProject(effect, &project), PF_Err_NONE);
        EXPECT_EQ(project.sequence, (std::vector<uint8_t>{0x01, 'T', 'E', 'M', 'P', 0, 0, 0, 8, 0,
                                                          0, 0, 0x00, 0x06, 0x08, 0x00}));
        EXPECT_NE(effect.SequenceData(), nullptr) << "the instance goes on with live data";
    }
    host::Host host(QUORVEL_MODULE_PATH);
    EffectInstance& effect = host.effect();
    ASSERT_EQ(host.Register(), PF_Err_NONE);
    ASSERT_EQ(effect.Send(PF_Cmd_GLOBAL_SETUP).err, PF_Err_NONE);
    ASSERT_EQ(host::RestoreProject(effect, project), PF_Err_NONE);
    EXPECT_NE(effect.SequenceData(), nullptr);
    EXPECT_EQ(read(effect.parameters()), saved);
    EXPECT_EQ(effect.parameters().KeyframeCount(PARAM_STRIPS_DISTRIBUTION), 2u);
    for (PF_Cmd cmd : {PF_Cmd_SEQUENCE_SETDOWN, PF_Cmd_GLOBAL_SETDOWN}) {
        ASSERT_EQ(effect.Send(cmd).err, PF_Err_NONE);
    }
    EXPECT_LEDGER_BALANCED(host);
}

}  // namespace
}  // namespace quorvel::testing
