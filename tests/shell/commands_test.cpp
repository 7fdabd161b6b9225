// EffectMain as the host calls it: registration, the command switch, ABOUT, the global and
// sequence data, the dynamic flags and the pre-render; then host calls failing once, command
// by command, each on a fresh instance. The walk from the effect to its masks fails in the
// mask-name overlay's table (tests/ui).
#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "host/suites/utility_suite.h"
#include "shell/params/param_index.h"
#include "tests/support/module_host.h"

namespace quorvel::testing {
namespace {

using CommandsTest = ModuleTest;

const std::vector<uint8_t> kFlatRecord = {0x01, 0x54, 0x45, 0x4D, 0x50, 0x00, 0x00, 0x00,
                                          0x08, 0x00, 0x00, 0x00, 0x00, 0x06, 0x08, 0x00};

TEST_F(CommandsTest, RegistersAndAnswersAboutAndCommandsWithoutWork) {
    const host::Registration& r = host.registration();
    EXPECT_EQ(std::make_tuple(r.calls, r.name, r.matchName, r.category, r.entryPoint, r.kind,
                              r.apiMajorVersion, r.apiMinorVersion, r.reservedInfo),
              std::make_tuple(1, "Quorvel", "Velmoran Quorvel", "Velmoran", "EffectMain",
                              PF_FOUR_CHAR('e', 'F', 'K', 'T'), 13, 28, 8));
    // Above the host's last command, and commands without a row of their own: nothing written.
    for (PF_Cmd cmd : {29, INT_MAX, -1, int{PF_Cmd_DO_DIALOG}, int{PF_Cmd_AUDIO_RENDER}}) {
        const host::CommandResult result = effect().Send(cmd);
        const PF_OutData untouched = {};
        EXPECT_EQ(result.err, PF_Err_NONE) << cmd;
        EXPECT_EQ(std::memcmp(&result.out, &untouched, sizeof(untouched)), 0) << cmd;
    }
    // An effect-window event of a checkbox is left alone.
    PF_EventExtra event = {};
    event.effect_win.index = PARAM_MASK_1_INVERT_PATH_DIRECTION;
    EXPECT_EQ(effect().Send(PF_Cmd_EVENT, &event).err, PF_Err_NONE);
    const host::CommandResult about = effect().Send(PF_Cmd_ABOUT);
    EXPECT_EQ(about.err, PF_Err_NONE);
    EXPECT_EQ(about.Message(),
              "Quorvel v1.0\rRedraws a layer through a mesh between two of its masks.");
    host::InstanceSettings settings = effect().Settings();
    settings.basicSuite = false;
    effect().SetSettings(settings);
    EXPECT_EQ(effect().Send(PF_Cmd_ABOUT).err, PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_LEDGER_BALANCED(host);
}

// The version and flag words are checked with the failures below: they are written even when
// the set-up fails.
TEST_F(CommandsTest, GlobalDataHoldsTheAegpIdOrInPremiereNothingAndSetdownDisposesEverything) {
    ASSERT_EQ(effect().Send(PF_Cmd_GLOBAL_SETUP).err, PF_Err_NONE);
    const auto registrations = host.State<host::AegpRegistrations>().Entries();
    ASSERT_EQ(registrations.size(), 1u);
    EXPECT_EQ(registrations[0].name, "Quorvel");
    std::vector<uint8_t> id(4);
    std::memcpy(id.data(), &registrations[0].id, 4);
    EXPECT_EQ(host.handles().Bytes(effect().GlobalData()), id);
    // GLOBAL_SETDOWN disposes the global data and a sequence record still present.
    ASSERT_EQ(effect().Send(PF_Cmd_SEQUENCE_SETUP).err, PF_Err_NONE);
    EXPECT_EQ(effect().Send(PF_Cmd_GLOBAL_SETDOWN).err, PF_Err_NONE);
    EXPECT_EQ(host.handles().LiveCount(), 0u);

    host::InstanceSettings settings = effect().Settings();
    settings.applicationId = PF_FOUR_CHAR('P', 'r', 'M', 'r');
    effect().SetSettings(settings);
    ASSERT_EQ(effect().Send(PF_Cmd_GLOBAL_SETUP).err, PF_Err_NONE);
    EXPECT_EQ(host.faults().Calls("AEGP_RegisterWithAEGP"), 1);
    EXPECT_EQ(host.handles().Bytes(effect().GlobalData()), std::vector<uint8_t>(4, 0));
    EXPECT_LEDGER_BALANCED(host);
}

TEST_F(CommandsTest, SequenceRecordsThroughAnInstancesLife) {
    // Without incoming data re-set-up sets none, and flattening is damage.
    EXPECT_EQ(effect().Send(PF_Cmd_SEQUENCE_RESETUP).out.sequence_data, nullptr);
    EXPECT_EQ(effect().Send(PF_Cmd_SEQUENCE_FLATTEN).err, PF_Err_INTERNAL_STRUCT_DAMAGED);
    EXPECT_EQ(effect().Send(PF_Cmd_GET_FLATTENED_SEQUENCE_DATA).err,
              PF_Err_INTERNAL_STRUCT_DAMAGED);

    ASSERT_EQ(effect().Send(PF_Cmd_SEQUENCE_SETUP).err, PF_Err_NONE);
    const PF_Handle live = effect().SequenceData();
    EXPECT_EQ(host.handles().Bytes(live), std::vector<uint8_t>{0});
    // A flat copy for the host; the live record stays.
    ASSERT_EQ(effect().Send(PF_Cmd_GET_FLATTENED_SEQUENCE_DATA).err, PF_Err_NONE);
    EXPECT_EQ(effect().SavedSequence(), kFlatRecord);
    EXPECT_EQ(effect().SequenceData(), live);
    EXPECT_TRUE(host.handles().IsLive(live));
    // Flattening replaces the live record by a byte-identical flat one.
    ASSERT_EQ(effect().Send(PF_Cmd_SEQUENCE_FLATTEN).err, PF_Err_NONE);
    EXPECT_FALSE(host.handles().IsLive(live));
    const PF_Handle flat = effect().SequenceData();
    EXPECT_EQ(host.handles().Bytes(flat), kFlatRecord);
    // Re-set-up makes a new live record; the flat one is left to the host.
    ASSERT_EQ(effect().Send(PF_Cmd_SEQUENCE_RESETUP).err, PF_Err_NONE);
    EXPECT_NE(effect().SequenceData(), flat);
    EXPECT_EQ(host.handles().Bytes(effect().SequenceData()), std::vector<uint8_t>{0});
    EXPECT_LEDGER_BALANCED(host);

    // A handle without memory: nothing to flatten, nothing disposed.
    effect().LoadSequenceData({});
    const PF_Handle empty = effect().SequenceData();
    for (PF_Cmd cmd :
         {PF_Cmd_SEQUENCE_FLATTEN, PF_Cmd_GET_FLATTENED_SEQUENCE_DATA, PF_Cmd_SEQUENCE_RESETUP}) {
        EXPECT_EQ(effect().Send(cmd).err, PF_Err_NONE) << cmd;
        EXPECT_EQ(effect().SequenceData(), empty) << cmd;
    }
    EXPECT_TRUE(host.handles().IsLive(empty));
    EXPECT_EQ(effect().Send(PF_Cmd_SEQUENCE_SETDOWN).err, PF_Err_NONE);
    EXPECT_EQ(host.handles().LiveCount(), 0u);
    EXPECT_LEDGER_BALANCED(host);
}

TEST_F(CommandsTest, QueryDynamicFlagsFollowsAnimateAndTouchesNoOtherBit) {
    // Without the parameter the host refuses the check-out.
    EXPECT_EQ(effect().Send(PF_Cmd_QUERY_DYNAMIC_FLAGS).err, PF_Err_BAD_CALLBACK_PARAM);
    ASSERT_EQ(effect().Send(PF_Cmd_GLOBAL_SETUP).err, PF_Err_NONE);
    const A_long flags = effect().OutFlags();
    for (const PF_ParamValue animate : {0, 1}) {
        PutCheckbox(host, PARAM_ANIMATE, animate);
        const host::CommandResult result = effect().Send(PF_Cmd_QUERY_DYNAMIC_FLAGS);
        EXPECT_EQ(result.err, PF_Err_NONE);
        EXPECT_EQ(result.out.out_flags, animate ? flags : flags & ~PF_OutFlag_NON_PARAM_VARY);
        EXPECT_EQ(result.out.out_flags2, effect().OutFlags2());
    }
    // A failed check-out is the result, without a message; the definition is checked in all
    // the same.
    const long checkins = host.faults().Calls("checkin_param");
    host.faults().FailCall("checkout_param", 1, PF_Interrupt_CANCEL);
    const host::CommandResult result = effect().Send(PF_Cmd_QUERY_DYNAMIC_FLAGS);
    EXPECT_EQ(result.err, PF_Interrupt_CANCEL);
    EXPECT_EQ(result.Message(), "");
    EXPECT_EQ(host.faults().Calls("checkin_param"), checkins + 1);
    EXPECT_LEDGER_BALANCED(host);
}

// A rectangle's sides, or the pre-render output's rectangles and flags.
std::vector<A_long> Sides(const PF_LRect& r) {
    return {r.left, r.top, r.right, r.bottom};
}
std::vector<A_long> Output(const PF_PreRenderOutput& o) {
    const PF_LRect& r = o.result_rect;
    const PF_LRect& m = o.max_result_rect;
    return {r.left, r.top, r.right, r.bottom, m.left, m.top, m.right, m.bottom, o.flags};
}

TEST_F(CommandsTest, PreRenderAsksForTheWholeLayerJoinedWithTheRequest) {
    host::InstanceSettings settings = effect().Settings();
    settings.width = 200;
    settings.height = 100;
    settings.currentTime = 300;
    effect().SetSettings(settings);
    PF_RenderRequest request = {};
    request.channel_mask = 0xF;

    // An empty request asks for the whole layer, at the frame's time.
    host::PreRenderResult result = effect().SmartPreRender(request);
    ASSERT_EQ(result.command.err, PF_Err_NONE);
    ASSERT_EQ(result.checkouts.size(), 1u);
    const host::LayerCheckout& checkout = result.checkouts[0];
    EXPECT_EQ(std::make_tuple(checkout.index, checkout.checkoutId, checkout.what_time,
                              checkout.time_step, checkout.time_scale),
              std::make_tuple(PARAM_INPUT, 0, 300, settings.timeStep, settings.timeScale));
    EXPECT_EQ(Sides(checkout.request.rect), Sides({0, 0, 200, 100}));
    EXPECT_EQ(checkout.request.channel_mask, 0xF);
    EXPECT_EQ(Output(result.output), (std::vector<A_long>{0, 0, 200, 100, 0, 0, 200, 100, 1}));
    // A request partly outside the layer asks for the union of both.
    request.rect = {-20, 50, 120, 180};
    result = effect().SmartPreRender(request);
    EXPECT_EQ(Sides(result.checkouts.at(0).request.rect), Sides({-20, 0, 200, 180}));
    // Result rectangles only grow.
    PF_PreRenderOutput start = {{-5, -5, 10, 10}, {0, 0, 500, 20}, 0, 0, 0x2, nullptr, nullptr};
    result = effect().SmartPreRender(request, start);
    EXPECT_EQ(Output(result.output), (std::vector<A_long>{-5, -5, 200, 100, 0, 0, 500, 100, 3}));
    EXPECT_LEDGER_BALANCED(host);
}

constexpr PF_Err kCode = 1234;
constexpr PF_Err kDamaged = PF_Err_INTERNAL_STRUCT_DAMAGED;
constexpr PF_Err kMemory = PF_Err_OUT_OF_MEMORY;
constexpr PF_Err kNoSuite = PF_Err_BAD_CALLBACK_PARAM;

enum class Fault { Fails, GivesNothing, SuiteMissing };

struct Row {
    PF_Cmd cmd;
    const char* call;  // a host function, or the missing suite's name
    int nth;           // the failing call, or the missing suite's version (-1: every one)
    Fault fault;
    PF_Err expected;     // kCode: the failing call's own code
    A_long params = -1;  // the parameters the host holds afterwards; -1: not looked at
};

// clang-format off
const Row kRows[] = {
    {PF_Cmd_GLOBAL_SETUP, "host_new_handle", 1, Fault::GivesNothing, kDamaged},
    {PF_Cmd_GLOBAL_SETUP, "host_lock_handle", 1, Fault::GivesNothing, kMemory},
    {PF_Cmd_GLOBAL_SETUP, "AEGP_RegisterWithAEGP", 1, Fault::Fails, kCode},
    {PF_Cmd_GLOBAL_SETUP, "AEGP Utility Suite", 7, Fault::SuiteMissing, kNoSuite},
    {PF_Cmd_GLOBAL_SETUP, "PF Handle Suite", -1, Fault::SuiteMissing, kNoSuite},
    {PF_Cmd_SEQUENCE_SETUP, "host_new_handle", 1, Fault::GivesNothing, kMemory},
    {PF_Cmd_SEQUENCE_SETUP, "host_lock_handle", 1, Fault::GivesNothing, kMemory},
    {PF_Cmd_SEQUENCE_SETUP, "PF Handle Suite", 2, Fault::SuiteMissing, kNoSuite},
    {PF_Cmd_SEQUENCE_RESETUP, "host_new_handle", 1, Fault::GivesNothing, kMemory},
    {PF_Cmd_SEQUENCE_RESETUP, "host_lock_handle", 1, Fault::GivesNothing, kMemory},
    {PF_Cmd_SEQUENCE_FLATTEN, "host_new_handle", 1, Fault::GivesNothing, kDamaged},
    {PF_Cmd_SEQUENCE_FLATTEN, "host_lock_handle", 1, Fault::GivesNothing, kMemory},
    {PF_Cmd_SEQUENCE_FLATTEN, "PF Handle Suite", 2, Fault::SuiteMissing, kNoSuite},
    {PF_Cmd_GET_FLATTENED_SEQUENCE_DATA, "host_new_handle", 1, Fault::GivesNothing, kDamaged},
    {PF_Cmd_GET_FLATTENED_SEQUENCE_DATA, "host_lock_handle", 1, Fault::GivesNothing, kMemory},
    {PF_Cmd_GET_FLATTENED_SEQUENCE_DATA, "PF Handle Suite", 2, Fault::SuiteMissing, kNoSuite},
    // Set-up stops at the failing parameter; a ramp default the host did not take is freed.
    {PF_Cmd_PARAMS_SETUP, "add_param", 1, Fault::Fails, kCode, 1},
    {PF_Cmd_PARAMS_SETUP, "add_param", 13, Fault::Fails, kCode, 13},  // the Quorvel Ramp
    {PF_Cmd_PARAMS_SETUP, "host_new_handle", 2, Fault::GivesNothing, kMemory, 6},
    {PF_Cmd_PARAMS_SETUP, "host_lock_handle", 1, Fault::GivesNothing, kMemory, 4},
    {PF_Cmd_PARAMS_SETUP, "register_ui", 1, Fault::Fails, kCode, 80},
    {PF_Cmd_PARAMS_SETUP, "PF Handle Suite", -1, Fault::SuiteMissing, kNoSuite, 4},
    {PF_Cmd_UPDATE_PARAMS_UI, "PF_UpdateParamUI", 2, Fault::Fails, kCode},
    {PF_Cmd_ABOUT, "PF ANSI Suite", -1, Fault::SuiteMissing, kNoSuite},
    {PF_Cmd_ABOUT, "AcquireSuite", 1, Fault::GivesNothing, kNoSuite},
};
// clang-format on

// A host with the module registered, brought to where cmd is sent.
std::unique_ptr<host::Host> Prepared(PF_Cmd cmd) {
    auto host = std::make_unique<host::Host>(QUORVEL_MODULE_PATH);
    EXPECT_EQ(host->Register(), PF_Err_NONE);
    host::EffectInstance& effect = host->effect();
    if (cmd != PF_Cmd_GLOBAL_SETUP) {
        EXPECT_EQ(effect.Send(PF_Cmd_GLOBAL_SETUP).err, PF_Err_NONE);
    }
    if (cmd == PF_Cmd_UPDATE_PARAMS_UI) {
        EXPECT_EQ(effect.Send(PF_Cmd_PARAMS_SETUP).err, PF_Err_NONE);
    }
    if (cmd == PF_Cmd_SEQUENCE_RESETUP) {
        effect.LoadSequenceData(kFlatRecord);
    } else if (cmd == PF_Cmd_SEQUENCE_FLATTEN || cmd == PF_Cmd_GET_FLATTENED_SEQUENCE_DATA) {
        EXPECT_EQ(effect.Send(PF_Cmd_SEQUENCE_SETUP).err, PF_Err_NONE);
    }
    return host;
}

// The handles the host holds for itself: two (default and value) for each ramp parameter.
size_t RampHandles(host::EffectInstance& effect) {
    const std::vector<PF_ParamDef> defs = effect.parameters().Snapshot();
    return 2 * std::count_if(defs.begin(), defs.end(), [](const PF_ParamDef& def) {
               return def.param_type == PF_Param_ARBITRARY_DATA;
           });
}

// Each row ends with its code and no message; the instance keeps what it held (global and
// sequence data, no record saved, no handle beyond the parameters' own); every suite, handle
// and AEGP object goes back; GLOBAL_SETUP has written its version and flags all the same.
TEST(CommandFailures, EachEndsWithItsCodeAndLeavesTheInstanceAsItWas) {
    for (const Row& row : kRows) {
        SCOPED_TRACE(::testing::Message()
                     << row.cmd << " " << row.call << " " << row.nth << " " << int(row.fault));
        const std::unique_ptr<host::Host> host = Prepared(row.cmd);
        host::EffectInstance& effect = host->effect();
        const PF_Handle global = effect.GlobalData();
        const PF_Handle sequence = effect.SequenceData();
        const std::vector<uint8_t> bytes = sequence ? host->handles().Bytes(sequence) : kFlatRecord;
        const size_t live = host->handles().LiveCount() - RampHandles(effect);
        if (row.fault == Fault::Fails) {
            host->faults().FailCall(row.call, row.nth, kCode);
        } else if (row.fault == Fault::GivesNothing) {
            host->faults().NullCall(row.call, row.nth);
        } else {
            host->faults().MakeSuiteUnavailable(row.call, row.nth);
        }
        const host::CommandResult result = effect.Send(row.cmd);
        host->faults().Clear();
        EXPECT_EQ(result.err, row.expected);
        EXPECT_EQ(result.Message(), "");
        EXPECT_EQ(std::make_tuple(effect.GlobalData(), effect.SequenceData()),
                  std::make_tuple(global, sequence));
        EXPECT_EQ(sequence ? host->handles().Bytes(sequence) : kFlatRecord, bytes);
        EXPECT_TRUE(effect.SavedSequence().empty());
        EXPECT_EQ(host->handles().LiveCount(), live + RampHandles(effect));
        if (row.params >= 0) {
            EXPECT_EQ(effect.parameters().Count(), row.params);
            EXPECT_EQ(result.out.num_params, 80) << "set before the first parameter";
        }
        if (row.cmd == PF_Cmd_GLOBAL_SETUP) {
            EXPECT_EQ(std::make_tuple(effect.Version(), effect.OutFlags(), effect.OutFlags2()),
                      std::make_tuple(0x80600u, 0x6008454, 0x8801401));
        }
        EXPECT_LEDGER_BALANCED(*host);
    }
}

}  // namespace
}  // namespace quorvel::testing
