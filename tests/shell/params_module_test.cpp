// The parameter set, the parameter UI and the settings snapshot through the module as the host
// loads it: the host keeps what PARAMS_SETUP hands over, answers UPDATE_PARAMS_UI, gives
// values over time (ramps through the effect's own callbacks) and saves and restores a project.
#include <cstring>
#include <thread>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "host/project.h"
#include "ramp/ramp.h"
#include "shell/param_index.h"
#include "shell/render_settings.h"
#include "tests/support/module_host.h"

namespace quorvel::testing {
namespace {

using host::EffectInstance;
using host::ParamValue;
using Points = std::vector<std::pair<float, float>>;

constexpr A_u_long kScale = 2400;

ParamValue Number(double number) {
    ParamValue value;
    value.number = number;
    return value;
}

// A ramp in its saved form: mode, interpolation, count, then t and v of each point.
ParamValue Flat(int32_t mode, int32_t interpolation, const Points& points) {
    ParamValue value;
    const int32_t header[3] = {mode, interpolation, static_cast<int32_t>(points.size())};
    value.flatRamp.resize(sizeof header + points.size() * 8);
    std::memcpy(value.flatRamp.data(), header, sizeof header);
    for (size_t i = 0; i < points.size(); ++i) {
        const float point[2] = {points[i].first, points[i].second};
        std::memcpy(value.flatRamp.data() + sizeof header + i * 8, point, sizeof point);
    }
    return value;
}

const Ramp& RampIn(PF_ArbitraryH handle) {
    return *static_cast<const Ramp*>(*handle);
}

Points PointsOf(PF_ArbitraryH handle) {
    return Points(RampIn(handle).points->begin(), RampIn(handle).points->end());
}

class ParamsModuleTest : public ModuleTest {
  protected:
    void SetUp() override {
        ModuleTest::SetUp();
        ASSERT_EQ(effect().Send(PF_Cmd_GLOBAL_SETUP).err, PF_Err_NONE);
    }

    host::Parameters& parameters() { return effect().parameters(); }

    host::CommandResult SendParamsSetup() {
        const host::CommandResult result = effect().Send(PF_Cmd_PARAMS_SETUP);
        EXPECT_LEDGER_BALANCED(host);
        return result;
    }

    void SetTime(double seconds) {
        host::InstanceSettings settings = effect().Settings();
        settings.currentTime = static_cast<A_long>(seconds * settings.timeScale);
        effect().SetSettings(settings);
    }

    // The input data a frame's snapshot checks parameters out with, at seconds.
    PF_InData FrameInData(double seconds) {
        PF_InData in = {};
        in.inter.checkout_param = &EffectInstance::CheckoutParam;
        in.inter.checkin_param = &EffectInstance::CheckinParam;
        in.effect_ref = &effect();
        in.current_time = static_cast<A_long>(seconds * kScale);
        in.time_step = 100;
        in.time_scale = kScale;
        return in;
    }
};

TEST_F(ParamsModuleTest, SetupHandsTheHostEightyParametersDefaultsAndTheCustomUi) {
    const host::CommandResult result = SendParamsSetup();
    ASSERT_EQ(result.err, PF_Err_NONE);
    EXPECT_EQ(result.out.num_params, PARAM_COUNT);
    ASSERT_EQ(parameters().Count(), PARAM_COUNT);
    EXPECT_EQ(effect().UiRegistrations(), 1);
    EXPECT_EQ(effect().RegisteredUi().events,
              PF_CustomEFlag_COMP | PF_CustomEFlag_LAYER | PF_CustomEFlag_EFFECT);

    // The host took the default curves over and made each ramp's value a copy of its default.
    int ramps = 0;
    for (PF_ParamIndex index = 1; index < PARAM_COUNT; ++index) {
        const PF_ParamDef def = parameters().At(index);
        if (def.param_type != PF_Param_ARBITRARY_DATA) {
            continue;
        }
        ++ramps;
        ASSERT_NE(def.u.arb_d.value, nullptr) << def.name;
        EXPECT_NE(def.u.arb_d.value, def.u.arb_d.dephault) << def.name;
        EXPECT_TRUE(host.handles().IsLive(def.u.arb_d.dephault));
        EXPECT_EQ(PointsOf(def.u.arb_d.value), PointsOf(def.u.arb_d.dephault)) << def.name;
        EXPECT_EQ(RampIn(def.u.arb_d.value).interpolation,
                  RampIn(def.u.arb_d.dephault).interpolation);
    }
    EXPECT_EQ(ramps, 9);

    // Addressed by display name: a value parameter before the group that shares its name.
    EXPECT_EQ(parameters().Find("Strips Enable"), PARAM_STRIPS_ENABLE);
    EXPECT_EQ(parameters().Find("Distortion Along Ramp"), PARAM_DISTORTION_ALONG_RAMP);
    EXPECT_EQ(parameters().Find("Distortion Noise Across Factor"),
              PARAM_DISTORTION_NOISE_ACROSS_FACTOR);
    EXPECT_EQ(parameters().FindSavedId(75), PARAM_OFFSET);

    EXPECT_EQ(effect().Send(PF_Cmd_GLOBAL_SETDOWN).err, PF_Err_NONE);
    EXPECT_LEDGER_BALANCED(host);
}

TEST_F(ParamsModuleTest, SetupFailuresStopAtOnceAndLeaveNothingBehind) {
    // The 13th parameter is the Quorvel Ramp: its default never reaches the host.
    host.faults().FailCall("add_param", 13, PF_Err_INTERNAL_STRUCT_DAMAGED);
    const size_t before = host.handles().LiveCount();
    host::CommandResult result = SendParamsSetup();
    EXPECT_EQ(result.err, PF_Err_INTERNAL_STRUCT_DAMAGED);
    EXPECT_EQ(result.Message(), "");
    EXPECT_EQ(result.out.num_params, PARAM_COUNT);
    EXPECT_EQ(parameters().Count(), 13);
    EXPECT_EQ(effect().UiRegistrations(), 0);
    // Two density defaults and their two values stay with the host; nothing else lives.
    EXPECT_EQ(host.handles().LiveCount(), before + 4);
}

TEST_F(ParamsModuleTest, ARampHandleTheHostCannotGiveEndsSetupWithOutOfMemory) {
    host.faults().NullCall("host_new_handle", 1);
    EXPECT_EQ(SendParamsSetup().err, PF_Err_OUT_OF_MEMORY);
    EXPECT_EQ(parameters().Count(), 4) << "the input and the three before the first ramp";
    EXPECT_LEDGER_BALANCED(host);

    host::Host::Current().faults().Clear();
    EXPECT_EQ(effect().Send(PF_Cmd_GLOBAL_SETDOWN).err, PF_Err_NONE);
}

TEST_F(ParamsModuleTest, UpdateParamsUiSendsAllFourOnceThenNothingThenOnlyWhatDiffers) {
    ASSERT_EQ(SendParamsSetup().err, PF_Err_NONE);
    const PF_ParamIndex strips[] = {PARAM_STRIPS_COUNT, PARAM_STRIPS_RANDOM_FACTOR,
                                    PARAM_STRIPS_RANDOM_SEED, PARAM_STRIPS_DISTRIBUTION};
    std::vector<PF_ParamDef> before = parameters().Snapshot();

    // "Strips Enable" starts off: all four are greyed out, once.
    host::CommandResult result = effect().Send(PF_Cmd_UPDATE_PARAMS_UI);
    EXPECT_EQ(result.err, PF_Err_NONE);
    EXPECT_NE(result.out.out_flags & PF_OutFlag_FORCE_RERENDER, 0);
    EXPECT_LEDGER_BALANCED(host);
    auto updates = parameters().UiUpdates();
    ASSERT_EQ(updates.size(), 4u);
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(updates[i].first, strips[i]);
        PF_ParamDef sent = updates[i].second;
        PF_ParamDef own = before[strips[i]];
        EXPECT_EQ(sent.ui_flags & PF_PUI_DISABLED, PF_PUI_DISABLED);
        EXPECT_EQ(own.ui_flags & PF_PUI_DISABLED, 0);
        sent.ui_flags &= ~PF_PUI_DISABLED;
        sent.flags &= ~PF_ParamFlag_COLLAPSE_TWIRLY;
        own.flags &= ~PF_ParamFlag_COLLAPSE_TWIRLY;
        EXPECT_EQ(std::memcmp(&sent, &own, sizeof sent), 0) << "only the two bits differ";
        EXPECT_NE(parameters().At(strips[i]).ui_flags & PF_PUI_DISABLED, 0);
    }

    result = effect().Send(PF_Cmd_UPDATE_PARAMS_UI);
    EXPECT_EQ(result.out.out_flags & PF_OutFlag_FORCE_RERENDER, 0);
    EXPECT_EQ(parameters().UiUpdates().size(), 4u);

    // The host shows one of them enabled again: only that one is sent.
    PF_ParamDef seed = parameters().At(PARAM_STRIPS_RANDOM_SEED);
    seed.ui_flags &= ~PF_PUI_DISABLED;
    ASSERT_TRUE(parameters().Replace(PARAM_STRIPS_RANDOM_SEED, seed));
    result = effect().Send(PF_Cmd_UPDATE_PARAMS_UI);
    EXPECT_NE(result.out.out_flags & PF_OutFlag_FORCE_RERENDER, 0);
    updates = parameters().UiUpdates();
    ASSERT_EQ(updates.size(), 5u);
    EXPECT_EQ(updates[4].first, PARAM_STRIPS_RANDOM_SEED);

    // Switched on: all four come back; a value of 256 counts as off again.
    ASSERT_EQ(parameters().SetValue(PARAM_STRIPS_ENABLE, Number(1)), PF_Err_NONE);
    effect().Send(PF_Cmd_UPDATE_PARAMS_UI);
    EXPECT_EQ(parameters().UiUpdates().size(), 9u);
    for (PF_ParamIndex index : strips) {
        EXPECT_EQ(parameters().At(index).ui_flags & PF_PUI_DISABLED, 0);
    }
    ASSERT_EQ(parameters().SetValue(PARAM_STRIPS_ENABLE, Number(256)), PF_Err_NONE);
    effect().Send(PF_Cmd_UPDATE_PARAMS_UI);
    EXPECT_EQ(parameters().UiUpdates().size(), 13u);

    // A refusal by the host ends the command with its code and forces no render.
    ASSERT_EQ(parameters().SetValue(PARAM_STRIPS_ENABLE, Number(1)), PF_Err_NONE);
    host.faults().FailCall("PF_UpdateParamUI", 2, PF_Err_INTERNAL_STRUCT_DAMAGED);
    result = effect().Send(PF_Cmd_UPDATE_PARAMS_UI);
    EXPECT_EQ(result.err, PF_Err_INTERNAL_STRUCT_DAMAGED);
    EXPECT_EQ(result.out.out_flags & PF_OutFlag_FORCE_RERENDER, 0);
    EXPECT_EQ(parameters().UiUpdates().size(), 14u);
    EXPECT_LEDGER_BALANCED(host);
}

TEST_F(ParamsModuleTest, UpdateParamsUiDoesNothingInPremiereOrWithoutGlobalData) {
    ASSERT_EQ(SendParamsSetup().err, PF_Err_NONE);
    host::InstanceSettings settings = effect().Settings();
    settings.applicationId = PF_APPL_ID_PREMIERE;
    effect().SetSettings(settings);
    const long acquisitions = host.faults().Calls("AcquireSuite");
    host::CommandResult result = effect().Send(PF_Cmd_UPDATE_PARAMS_UI);
    EXPECT_EQ(result.err, PF_Err_NONE);
    EXPECT_EQ(result.out.out_flags, effect().OutFlags());
    EXPECT_EQ(host.faults().Calls("AcquireSuite"), acquisitions);

    settings.applicationId = PF_APPL_ID_AFTER_EFFECTS;
    effect().SetSettings(settings);
    ASSERT_EQ(effect().Send(PF_Cmd_GLOBAL_SETDOWN).err, PF_Err_NONE);
    result = effect().Send(PF_Cmd_UPDATE_PARAMS_UI);
    EXPECT_EQ(result.err, PF_Err_NONE);
    EXPECT_EQ(result.out.out_flags, effect().OutFlags());
    EXPECT_TRUE(parameters().UiUpdates().empty());
    EXPECT_LEDGER_BALANCED(host);
}

TEST_F(ParamsModuleTest, TheSnapshotHoldsEveryValueAtTheFramesTime) {
    ASSERT_EQ(SendParamsSetup().err, PF_Err_NONE);
    ASSERT_EQ(parameters().SetValue(PARAM_ANIMATE, Number(256)), PF_Err_NONE);
    ASSERT_EQ(parameters().SetValue(PARAM_MASK_2, Number(42)), PF_Err_NONE);
    ASSERT_EQ(parameters().SetKeyframe(PARAM_OFFSET, 0.0, Number(0.0)), PF_Err_NONE);
    ASSERT_EQ(parameters().SetKeyframe(PARAM_OFFSET, 2.0, Number(10.0)), PF_Err_NONE);
    ASSERT_EQ(parameters().SetKeyframe(PARAM_ALONG_BASE_POINTS, 0.0, Number(2)), PF_Err_NONE);
    ASSERT_EQ(parameters().SetKeyframe(PARAM_ALONG_BASE_POINTS, 2.0, Number(5)), PF_Err_NONE);
    ASSERT_EQ(parameters().SetKeyframe(PARAM_TEXTURE_FILTER, 0.0, Number(1)), PF_Err_NONE);
    ASSERT_EQ(parameters().SetKeyframe(PARAM_TEXTURE_FILTER, 2.0, Number(2)), PF_Err_NONE);
    // A ramp between two keyframes is the effect's own interpolation of the two.
    ASSERT_EQ(parameters().SetKeyframe(
                  PARAM_QUORVEL_RAMP, 0.0,
                  Flat(RampMode_WithoutSin, RampInterpolation_Line, {{0.0f, 0.0f}, {1.0f, 1.0f}})),
              PF_Err_NONE);
    ASSERT_EQ(parameters().SetKeyframe(PARAM_QUORVEL_RAMP, 2.0,
                                       Flat(RampMode_All, RampInterpolation_Step,
                                            {{0.0f, 1.0f}, {0.5f, 0.0f}, {1.0f, 1.0f}})),
              PF_Err_NONE);
    const size_t liveHandles = host.handles().LiveCount();

    struct Expected {
        double seconds;
        double offset;
        int32_t along;
        int32_t filter;
        int32_t interpolation;
        Points quorvel;
    };
    const Expected frames[] = {
        {0.0, 0.0, 2, 1, RampInterpolation_Line, {{0.0f, 0.0f}, {1.0f, 1.0f}}},
        {1.0, 5.0, 4, 1, RampInterpolation_Line, {{0.0f, 0.5f}, {0.75f, 0.5f}, {1.0f, 1.0f}}},
        {1.5, 7.5, 4, 1, RampInterpolation_Line, {{0.0f, 0.75f}, {0.625f, 0.25f}, {1.0f, 1.0f}}},
        {2.0, 10.0, 5, 2, RampInterpolation_Step, {{0.0f, 1.0f}, {0.5f, 0.0f}, {1.0f, 1.0f}}},
        {5.0, 10.0, 5, 2, RampInterpolation_Step, {{0.0f, 1.0f}, {0.5f, 0.0f}, {1.0f, 1.0f}}},
    };
    for (const Expected& frame : frames) {
        SCOPED_TRACE(frame.seconds);
        PF_InData in = FrameInData(frame.seconds);
        RenderSettings settings;
        settings.inData = &in;
        ASSERT_EQ(settings.CheckoutAll(), PF_Err_NONE);
        EXPECT_EQ(settings.paramDefs.size(), 57u);
        EXPECT_EQ(settings.offset, frame.offset);
        EXPECT_EQ(settings.alongBasePoints, frame.along);
        EXPECT_EQ(settings.textureFilter, frame.filter);
        EXPECT_EQ(settings.animate, 0) << "a checkbox of 256 is off";
        EXPECT_EQ(settings.mask2PathId, 42u);
        EXPECT_EQ(settings.backgroundBlendMode, BackgroundMode_Normal);
        EXPECT_EQ(settings.multisampleAntiAliasing, 1);
        EXPECT_EQ(settings.quorvelFactor, 100.0);
        EXPECT_EQ(settings.stripsRandomFactor, 30.0);
        EXPECT_EQ(settings.stripsCount, 100);
        EXPECT_EQ(PointsOf(settings.quorvelRamp), frame.quorvel);
        EXPECT_EQ(RampIn(settings.quorvelRamp).interpolation, frame.interpolation);
        EXPECT_EQ(PointsOf(settings.opacityAcrossRamp), (Points{{0.0f, 1.0f}, {1.0f, 1.0f}}));
        EXPECT_EQ(PointsOf(settings.mask1BasePointsDensity), (Points{{0.0f, 0.5f}, {1.0f, 0.5f}}));
        EXPECT_EQ(parameters().OutstandingCheckouts(), 57u);
        EXPECT_EQ(settings.CheckinAll(&in), PF_Err_NONE);
        EXPECT_TRUE(settings.paramDefs.empty());
        EXPECT_LEDGER_BALANCED(host);
        EXPECT_EQ(host.handles().LiveCount(), liveHandles) << "every ramp copy disposed";
    }
}

TEST_F(ParamsModuleTest, TheSnapshotsFailureCases) {
    ASSERT_EQ(SendParamsSetup().err, PF_Err_NONE);
    PF_InData in = FrameInData(0.0);
    const size_t liveHandles = host.handles().LiveCount();

    // The first check-out fails: the host is asked once and gets nothing back.
    {
        host.faults().FailCall("checkout_param", 1, PF_Err_OUT_OF_MEMORY);
        const long checkins = host.faults().Calls("checkin_param");
        RenderSettings settings;
        settings.inData = &in;
        EXPECT_EQ(settings.CheckoutAll(), PF_Err_OUT_OF_MEMORY);
        EXPECT_EQ(settings.paramDefs.size(), 57u);
        EXPECT_EQ(settings.CheckinAll(&in), PF_Err_NONE);
        EXPECT_EQ(host.faults().Calls("checkin_param"), checkins);
        EXPECT_LEDGER_BALANCED(host);
    }
    // A ramp copy the effect cannot make fails its check-out; what came before goes back.
    {
        host.faults().NullCall("host_new_handle", 1);
        RenderSettings settings;
        settings.inData = &in;
        EXPECT_EQ(settings.CheckoutAll(), PF_Err_OUT_OF_MEMORY);
        EXPECT_EQ(settings.CheckinAll(&in), PF_Err_NONE);
        EXPECT_LEDGER_BALANCED(host);
        EXPECT_EQ(host.handles().LiveCount(), liveHandles);
    }
    // The third check-in fails: the walk ends there with its code.
    {
        RenderSettings settings;
        settings.inData = &in;
        ASSERT_EQ(settings.CheckoutAll(), PF_Err_NONE);
        const long checkins = host.faults().Calls("checkin_param");
        host.faults().FailCall("checkin_param", 3, PF_Err_INTERNAL_STRUCT_DAMAGED);
        EXPECT_EQ(settings.CheckinAll(&in), PF_Err_INTERNAL_STRUCT_DAMAGED);
        EXPECT_EQ(host.faults().Calls("checkin_param"), checkins + 3);
        EXPECT_TRUE(settings.paramDefs.empty());
        EXPECT_EQ(parameters().OutstandingCheckouts(), 55u);
    }
}

TEST_F(ParamsModuleTest, SnapshotsOnSeveralThreadsAtOnceBalanceTheLedger) {
    ASSERT_EQ(SendParamsSetup().err, PF_Err_NONE);
    ASSERT_EQ(parameters().SetKeyframe(PARAM_OPACITY_ALONG_RAMP, 0.0,
                                       Flat(RampMode_All, RampInterpolation_Line, {{0.0f, 0.0f}})),
              PF_Err_NONE);
    ASSERT_EQ(parameters().SetKeyframe(PARAM_OPACITY_ALONG_RAMP, 1.0,
                                       Flat(RampMode_All, RampInterpolation_Line, {{0.0f, 1.0f}})),
              PF_Err_NONE);
    const size_t liveHandles = host.handles().LiveCount();
    std::vector<std::thread> threads;
    std::vector<int> failures(4, 0);
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            PF_InData in = FrameInData(0.25 * t);
            for (int frame = 0; frame < 20; ++frame) {
                RenderSettings settings;
                settings.inData = &in;
                failures[t] += settings.CheckoutAll() != PF_Err_NONE;
                failures[t] += PointsOf(settings.opacityAlongRamp) !=
                               Points{{0.0f, 0.25f * static_cast<float>(t)}};
                failures[t] += settings.CheckinAll(&in) != PF_Err_NONE;
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(failures, std::vector<int>(4, 0));
    EXPECT_LEDGER_BALANCED(host);
    EXPECT_EQ(host.handles().LiveCount(), liveHandles);
}

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
