// Saving a project and opening it again in a new host: every value and keyframe comes back,
// ramps through their flat form, the sequence data through its flat record.
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

struct Stream {
    ParamValue value;
    std::vector<std::pair<double, ParamValue>> keys;
};

// Every parameter's value and keyframes, ramps in their flat form.
std::vector<Stream> ReadStreams(host::Parameters& parameters) {
    std::vector<Stream> streams(PARAM_COUNT);
    for (PF_ParamIndex index = 1; index < PARAM_COUNT; ++index) {
        if (parameters.GetValue(index, &streams[index].value) != PF_Err_NONE) {
            continue;
        }
        for (size_t key = 0; key < parameters.KeyframeCount(index); ++key) {
            std::pair<double, ParamValue> keyframe;
            EXPECT_EQ(parameters.GetKeyframe(index, key, &keyframe.first, &keyframe.second),
                      PF_Err_NONE);
            streams[index].keys.push_back(keyframe);
        }
    }
    return streams;
}

// A value unlike its default for every parameter that holds one, and keyframes on one
// parameter of each kind.
void EditEveryValue(host::Parameters& parameters) {
    double number = 1.0;
    for (PF_ParamIndex index = 1; index < PARAM_COUNT; ++index) {
        const PF_ParamDef def = parameters.At(index);
        ParamValue value;
        switch (def.param_type) {
            case PF_Param_FLOAT_SLIDER:
                value = Number(number + 0.25);
                break;
            case PF_Param_SLIDER:
            case PF_Param_PATH:
                value = Number(number + 3);
                break;
            case PF_Param_CHECKBOX:
                value = Number(def.u.bd.value == 0 ? 1 : 0);
                break;
            case PF_Param_POPUP:
                value = Number(1);
                break;
            case PF_Param_ARBITRARY_DATA:
                value = Flat(RampMode_WithoutSin, RampInterpolation_Bezier,
                             {{0.0f, 0.1f}, {static_cast<float>(number / 100), 0.7f}});
                break;
            default:
                continue;
        }
        ASSERT_EQ(parameters.SetValue(index, value), PF_Err_NONE) << def.name;
        number += 1.0;
    }
    for (PF_ParamIndex index : {PARAM_OFFSET, PARAM_STRIPS_COUNT, PARAM_ANIMATE,
                                PARAM_QUORVEL_DIRECTION, PARAM_MASK_1, PARAM_STRIPS_DISTRIBUTION}) {
        const bool ramp = index == PARAM_STRIPS_DISTRIBUTION;
        for (double seconds : {0.5, 1.5, 4.0}) {
            const ParamValue value = ramp ? Flat(RampMode_All, RampInterpolation_Line,
                                                 {{0.0f, static_cast<float>(seconds / 4)}})
                                          : Number(seconds == 1.5 ? 2 : 1);
            ASSERT_EQ(parameters.SetKeyframe(index, seconds, value), PF_Err_NONE) << index;
        }
    }
}

TEST(ProjectTest, ASavedProjectRestoresEveryValueAndKeyframe) {
    host::SavedProject project;
    std::vector<Stream> saved;
    {
        host::Host host(QUORVEL_MODULE_PATH);
        EffectInstance& effect = host.effect();
        ASSERT_EQ(host.Register(), PF_Err_NONE);
        ASSERT_EQ(effect.Send(PF_Cmd_GLOBAL_SETUP).err, PF_Err_NONE);
        ASSERT_EQ(effect.Send(PF_Cmd_PARAMS_SETUP).err, PF_Err_NONE);
        ASSERT_EQ(effect.Send(PF_Cmd_SEQUENCE_SETUP).err, PF_Err_NONE);
        EditEveryValue(effect.parameters());
        saved = ReadStreams(effect.parameters());

        ASSERT_EQ(host::SaveProject(effect, &project), PF_Err_NONE);
        EXPECT_LEDGER_BALANCED(host);
        EXPECT_EQ(project.parameters.size(), 57u);
        EXPECT_EQ(project.sequence, (std::vector<uint8_t>{0x01, 'T', 'E', 'M', 'P', 0, 0, 0, 8, 0,
                                                          0, 0, 0x00, 0x06, 0x08, 0x00}));
        EXPECT_NE(effect.SequenceData(), nullptr) << "the instance goes on with live data";
        // Ramps are saved in their flat form: 12 bytes and 8 per point.
        for (const host::SavedParameter& parameter : project.parameters) {
            if (parameter.type == PF_Param_ARBITRARY_DATA) {
                EXPECT_EQ(parameter.value.flatRamp.size(), 28u);
            }
        }
        ASSERT_EQ(effect.Send(PF_Cmd_SEQUENCE_SETDOWN).err, PF_Err_NONE);
        ASSERT_EQ(effect.Send(PF_Cmd_GLOBAL_SETDOWN).err, PF_Err_NONE);
        EXPECT_LEDGER_BALANCED(host);
    }
    // A new host, as when the project is opened again later.
    host::Host host(QUORVEL_MODULE_PATH);
    EffectInstance& effect = host.effect();
    ASSERT_EQ(host.Register(), PF_Err_NONE);
    ASSERT_EQ(effect.Send(PF_Cmd_GLOBAL_SETUP).err, PF_Err_NONE);
    ASSERT_EQ(host::RestoreProject(effect, project), PF_Err_NONE);
    EXPECT_LEDGER_BALANCED(host);
    EXPECT_NE(effect.SequenceData(), nullptr);
    const std::vector<Stream> restored = ReadStreams(effect.parameters());
    for (PF_ParamIndex index = 1; index < PARAM_COUNT; ++index) {
        EXPECT_EQ(restored[index].value, saved[index].value) << index;
        ASSERT_EQ(restored[index].keys.size(), saved[index].keys.size()) << index;
        for (size_t key = 0; key < saved[index].keys.size(); ++key) {
            EXPECT_EQ(restored[index].keys[key].first, saved[index].keys[key].first);
            EXPECT_EQ(restored[index].keys[key].second, saved[index].keys[key].second) << index;
        }
    }
    EXPECT_EQ(effect.parameters().KeyframeCount(PARAM_STRIPS_DISTRIBUTION), 3u);
    ASSERT_EQ(effect.Send(PF_Cmd_SEQUENCE_SETDOWN).err, PF_Err_NONE);
    ASSERT_EQ(effect.Send(PF_Cmd_GLOBAL_SETDOWN).err, PF_Err_NONE);
    EXPECT_LEDGER_BALANCED(host);
}

}  // namespace
}  // namespace quorvel::testing
