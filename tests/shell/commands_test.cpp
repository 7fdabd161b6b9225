// EffectMain as the host calls it: registration, the command switch, ABOUT, the global and
// sequence data, the dynamic flags and the pre-render; then host calls failing once, command
// by command, each on a fresh instance (the walk from the effect to its masks fails in the
// mask-name overlay's table, tests/ui). Then the parameter set. PARAMS_SETUP: every position's
// saved id, name, type and flags (the saved id ties a value in an old project to its
// parameter, so two ids swapped would load the user's values into the wrong parameters), the
// ranges and defaults of a few touchstone parameters and what holds for every parameter of a
// type, the default curves and the custom UI. UPDATE_PARAMS_UI: the strip parameters greyed
// out while "Strips Enable" is off. The settings snapshot: every value at the frame's time and
// as the host gave it, and the check-out failure that a frame's fault walk cannot tell apart
// (a failing check-in is a frame's test, tests/render).
#include <algorithm>
#include <cfloat>
#include <climits>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "host/suites/utility_suite.h"
#include "shell/params/param_index.h"
#include "shell/params/render_settings.h"
#include "tests/support/module_params.h"

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

// clang-format off
// Positions 1 to 79 in order: the saved id and the name.
const std::pair<A_long, const char*> kSaved[] = {
    {1, "Mask 1"}, {2, "Mask 2"}, {3, "Mesh Settings"}, {6, "Mask 1 Base Points Density"},
    {7, "Mask 1 Invert Path Direction"}, {8, "Mask 2 Base Points Density"},
    {9, "Mask 2 Invert Path Direction"}, {10, ""}, {75, "Offset"}, {11, "Quorvel Factor"},
    {12, "Quorvel Direction"}, {13, "Quorvel Reverse Direction"}, {14, "Quorvel Ramp"},
    {15, "Quorvel Perpendicular Ramp"}, {16, "Distortion"}, {17, "Distortion Noise"},
    {72, "Distortion Noise Along Factor"}, {73, "Distortion Noise Across Factor"},
    {18, "Distortion Noise Coordinates"}, {19, "Distortion Noise Amplitude"},
    {20, "Distortion Noise Scale"}, {21, "Distortion Noise Scale X"},
    {22, "Distortion Noise Scale Y"}, {23, "Distortion Noise Offset X"},
    {24, "Distortion Noise Offset Y"}, {25, "Distortion Noise Evolution"},
    {26, "Distortion Noise Inner Offset"}, {27, "Distortion Noise Seed"}, {28, ""},
    {29, "Distortion Along Ramp"}, {30, "Distortion Along Ramp"},
    {31, "Distortion Along Ramp Offset"}, {32, "Distortion Along Ramp Scale"},
    {33, "Distortion Along Ramp Loop"}, {34, ""}, {35, "Distortion Across Ramp"},
    {36, "Distortion Across Ramp"}, {37, "Distortion Across Ramp Offset"},
    {38, "Distortion Across Ramp Scale"}, {39, "Distortion Across Ramp Loop"}, {40, ""}, {41, ""},
    {42, "Opacity"}, {95, "Opacity Along Ramp"}, {43, "Opacity Along Ramp"},
    {86, "Opacity Along Ramp Offset"}, {87, "Opacity Along Ramp Scale"},
    {88, "Opacity Along Ramp Loop"}, {89, ""}, {96, "Opacity Across Ramp"},
    {44, "Opacity Across Ramp"}, {91, "Opacity Across Ramp Offset"},
    {92, "Opacity Across Ramp Scale"}, {93, "Opacity Across Ramp Loop"}, {94, ""}, {45, ""},
    {63, "Strips"}, {71, "Strips Enable"}, {69, "Strips Count"}, {64, "Strips Random Factor"},
    {65, "Strips Random Seed"}, {70, "Strips Distribution"}, {67, ""}, {76, "Animation"},
    {83, "Animate"}, {77, "Manual Animation"}, {84, "Animation Speed"}, {78, "Loop Mesh Part"},
    {80, ""}, {46, "Render"}, {54, "Multisample Anti-aliasing"}, {53, "Texture Nicer"},
    {51, "Background Blend Mode"}, {82, "Texture Filter"}, {48, "Preview Wireframe Mesh"},
    {4, "Across Base Points"}, {5, "Along Base Points"}, {49, "Show Masks Names"}, {50, ""},
};
// The type at each position: Path, group Start and End, Float slider, Integer slider,
// Checkbox, pOpup, Ramp.
constexpr char kTypes[] = "PPSRCRCEFFOCRRSSFFOFFFFFFFFIESRFFCESRFFCEESSRFFCESRFFCEESCIFIRESCFFFESCCOOCIICE";
const std::map<char, PF_ParamType> kTypeOf = {
    {'P', PF_Param_PATH}, {'S', PF_Param_GROUP_START}, {'E', PF_Param_GROUP_END},
    {'F', PF_Param_FLOAT_SLIDER}, {'I', PF_Param_SLIDER}, {'C', PF_Param_CHECKBOX},
    {'O', PF_Param_POPUP}, {'R', PF_Param_ARBITRARY_DATA}};
constexpr PF_ParamFlags kCollapse = PF_ParamFlag_COLLAPSE_TWIRLY;
constexpr PF_ParamFlags kNoTime = PF_ParamFlag_CANNOT_TIME_VARY;
// Every parameter with flags; the others have none.
const std::map<PF_ParamIndex, PF_ParamFlags> kFlags = {
    {4, kCollapse}, {6, kCollapse}, {13, kCollapse}, {14, kCollapse}, {62, kCollapse},
    {58, PF_ParamFlag_SUPERVISE | kNoTime}, {78, kNoTime}};
// Every popup's choices; each starts at its second.
const std::map<PF_ParamIndex, std::string> kChoices = {
    {11, "Across Masks|Along Masks"}, {19, "Screen Space|Local"}, {73, "None|Normal|Blend"},
    {74, "Nearest|Linear"}};
// clang-format on

// The ranges and default of a few sliders: valid minimum and maximum, slider minimum and
// maximum, default; then, for a float slider, precision and display flags.
constexpr double kMax = FLT_MAX;
constexpr double kPercent = PF_ValueDisplayFlag_PERCENT;

// clang-format off
const std::map<PF_ParamIndex, std::vector<double>> kTouchstones = {
    {9,  {0, 100, 0, 10, 0, 2, kPercent}},          // Offset
    {10, {0, kMax, 0, 100, 100, 2, kPercent}},      // Quorvel Factor
    {28, {0, 2147483647, 0, 100, 0}},               // Distortion Noise Seed
    {32, {-kMax, kMax, -100, 100, 0, 1, kPercent}}, // Distortion Along Ramp Offset
    {59, {2, 2147483647, 0, 100, 100}},             // Strips Count
    {68, {0, 100, 0, 1, 1, 1, kPercent}},           // Loop Mesh Part
    {76, {2, 200, 2, 100, 25}},                     // Across Base Points
    {77, {2, 1000, 2, 1000, 100}},                  // Along Base Points
};

// The default curve of each ramp: mode, interpolation, points.
struct Curve {
    int32_t mode;
    int32_t interpolation;
    Points points;
};
const std::map<PF_ParamIndex, Curve> kCurves = {
    {PARAM_MASK_1_BASE_POINTS_DENSITY, {RampMode_WithoutSin, RampInterpolation_Sin,    {{0.0f, 0.5f}, {1.0f, 0.5f}}}},
    {PARAM_MASK_2_BASE_POINTS_DENSITY, {RampMode_WithoutSin, RampInterpolation_Sin,    {{0.0f, 0.5f}, {1.0f, 0.5f}}}},
    {PARAM_QUORVEL_RAMP,               {RampMode_All,        RampInterpolation_Bezier, {{0.0f, 0.0f}, {0.1f, 1.0f}, {1.0f, 1.0f}}}},
    {PARAM_QUORVEL_PERPENDICULAR_RAMP, {RampMode_All,        RampInterpolation_Sin,    {{0.0f, 0.0f}, {0.1f, 1.0f}, {0.9f, 1.0f}, {1.0f, 0.0f}}}},
    {PARAM_DISTORTION_ALONG_RAMP,      {RampMode_All,        RampInterpolation_Sin,    {{0.0f, 0.0f}, {0.33f, 1.0f}, {1.0f, 1.0f}}}},
    {PARAM_DISTORTION_ACROSS_RAMP,     {RampMode_All,        RampInterpolation_Sin,    {{0.0f, 1.0f}, {1.0f, 1.0f}}}},
    {PARAM_OPACITY_ALONG_RAMP,         {RampMode_All,        RampInterpolation_Sin,    {{0.0f, 1.0f}, {1.0f, 1.0f}}}},
    {PARAM_OPACITY_ACROSS_RAMP,        {RampMode_All,        RampInterpolation_Sin,    {{0.0f, 1.0f}, {1.0f, 1.0f}}}},
    {PARAM_STRIPS_DISTRIBUTION,        {RampMode_WithoutSin, RampInterpolation_Sin,    {{0.0f, 0.5f}, {1.0f, 0.5f}}}},
};
// clang-format on

// The type's own fields: what holds for every parameter of the type, and the touchstones'
// ranges.
void ExpectTypeFields(host::Host& host, PF_ParamIndex index, const PF_ParamDef& def) {
    const auto touchstone = kTouchstones.find(index);
    std::vector<double> numbers;
    switch (def.param_type) {
        case PF_Param_FLOAT_SLIDER: {
            const PF_FloatSliderDef& fs = def.u.fs_d;
            numbers = {fs.valid_min, fs.valid_max,         fs.slider_min,           fs.slider_max,
                       fs.dephault,  double(fs.precision), double(fs.display_flags)};
            EXPECT_EQ(std::make_tuple(fs.value, fs.curve_tolerance, fs.phase, fs.fs_flags),
                      std::make_tuple(double(fs.dephault), 0.05f, 0.0, 0u));
            break;
        }
        case PF_Param_SLIDER: {
            const PF_SliderDef& sd = def.u.sd;
            numbers = {double(sd.valid_min), double(sd.valid_max), double(sd.slider_min),
                       double(sd.slider_max), double(sd.dephault)};
            EXPECT_EQ(sd.value, sd.dephault);
            break;
        }
        case PF_Param_CHECKBOX:
            // Only "Multisample Anti-aliasing" starts on.
            EXPECT_EQ(def.u.bd.dephault, index == PARAM_MULTISAMPLE_ANTI_ALIASING);
            EXPECT_EQ(def.u.bd.value, def.u.bd.dephault);
            ASSERT_NE(def.u.bd.u.nameptr, nullptr);
            EXPECT_STREQ(def.u.bd.u.nameptr, "");
            break;
        case PF_Param_POPUP: {
            const std::string& choices = kChoices.at(index);
            EXPECT_EQ(def.u.pd.u.namesptr, choices);
            EXPECT_EQ(def.u.pd.num_choices, 1 + std::count(choices.begin(), choices.end(), '|'));
            EXPECT_EQ(def.u.pd.dephault, 2);
            EXPECT_EQ(def.u.pd.value, 2);
            break;
        }
        case PF_Param_ARBITRARY_DATA: {
            EXPECT_EQ(std::make_tuple(def.u.arb_d.id, def.u.arb_d.pad,
                                      reinterpret_cast<uintptr_t>(def.u.arb_d.refconPV)),
                      std::make_tuple(0, 0, uintptr_t{0x0052414D50000000ULL}));
            ASSERT_NE(def.u.arb_d.dephault, nullptr);
            EXPECT_EQ(host.handles().Size(def.u.arb_d.dephault), sizeof(Ramp));
            const Curve& curve = kCurves.at(index);
            const Ramp& ramp = RampIn(def.u.arb_d.dephault);
            EXPECT_EQ(std::make_pair(ramp.mode, ramp.interpolation),
                      std::make_pair(curve.mode, curve.interpolation));
            EXPECT_EQ(PointsOf(def.u.arb_d.dephault), curve.points);
            // The module hands over no value: the host makes it a copy of the default.
            EXPECT_NE(def.u.arb_d.value, def.u.arb_d.dephault);
            break;
        }
        default:
            break;
    }
    if (touchstone != kTouchstones.end()) {
        EXPECT_EQ(numbers, touchstone->second);
    }
}

using ParamsTest = ParamsModuleTest;

TEST_F(ParamsTest, SetupAddsEveryParameterWithItsSavedIdNameTypeFlagsAndSettings) {
    const size_t liveBefore = host.handles().LiveCount();
    const host::CommandResult result = SendParamsSetup();
    ASSERT_EQ(result.err, PF_Err_NONE);
    EXPECT_EQ(result.out.num_params, 80);
    ASSERT_EQ(parameters().Count(), 80);
    ASSERT_EQ(std::size(kSaved), 79u);
    ASSERT_EQ(std::strlen(kTypes), 79u);
    for (PF_ParamIndex index = 1; index < 80; ++index) {
        const PF_ParamDef def = parameters().At(index);
        SCOPED_TRACE(::testing::Message() << "index " << index << " " << kSaved[index - 1].second);
        EXPECT_EQ(def.uu.id, kSaved[index - 1].first);
        EXPECT_STREQ(def.name, kSaved[index - 1].second);
        EXPECT_EQ(def.param_type, kTypeOf.at(kTypes[index - 1]));
        EXPECT_EQ(def.flags, kFlags.count(index) != 0 ? kFlags.at(index) : 0);
        const bool ramp = def.param_type == PF_Param_ARBITRARY_DATA;
        EXPECT_EQ(def.ui_flags, ramp ? PF_PUI_CONTROL | PF_PUI_DONT_ERASE_CONTROL : 0);
        EXPECT_EQ(def.ui_width, ramp ? 150 : 0);
        EXPECT_EQ(def.ui_height, ramp ? 140 : 0);
        ExpectTypeFields(host, index, def);
    }
    // The host holds each ramp's default and value, and nothing else was left.
    EXPECT_EQ(host.handles().LiveCount(), liveBefore + 2 * kCurves.size());

    // The custom UI for the composition, layer and effect windows, once.
    EXPECT_EQ(effect().UiRegistrations(), 1);
    PF_CustomUIInfo ui;
    std::memset(&ui, 0, sizeof ui);
    ui.events = PF_CustomEFlag_COMP | PF_CustomEFlag_LAYER | PF_CustomEFlag_EFFECT;
    const PF_CustomUIInfo registered = effect().RegisteredUi();
    EXPECT_EQ(std::memcmp(&registered, &ui, sizeof ui), 0);
    EXPECT_EQ(effect().Send(PF_Cmd_GLOBAL_SETDOWN).err, PF_Err_NONE);
    EXPECT_LEDGER_BALANCED(host);
}

TEST_F(ParamsTest, UpdateParamsUiSendsAllFourOnceThenNothingThenOnlyWhatDiffers) {
    // Before PARAMS_SETUP the host shows only the input layer: too short an array is refused.
    EXPECT_EQ(effect().Send(PF_Cmd_UPDATE_PARAMS_UI).err, PF_Err_BAD_CALLBACK_PARAM);
    ASSERT_EQ(SendParamsSetup().err, PF_Err_NONE);
    const PF_ParamIndex strips[] = {PARAM_STRIPS_COUNT, PARAM_STRIPS_RANDOM_FACTOR,
                                    PARAM_STRIPS_RANDOM_SEED, PARAM_STRIPS_DISTRIBUTION};
    const std::vector<PF_ParamDef> before = parameters().Snapshot();
    const auto send = [&](size_t updates, bool rerender) {
        const host::CommandResult result = effect().Send(PF_Cmd_UPDATE_PARAMS_UI);
        EXPECT_EQ(result.err, PF_Err_NONE);
        EXPECT_EQ((result.out.out_flags & PF_OutFlag_FORCE_RERENDER) != 0, rerender);
        EXPECT_EQ(parameters().UiUpdates().size(), updates);
    };

    // "Strips Enable" starts off: all four are greyed out, once; only the two bits differ.
    send(4, true);
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(parameters().UiUpdates()[i].first, strips[i]);
        PF_ParamDef own = before[strips[i]];
        own.ui_flags |= PF_PUI_DISABLED;
        own.flags |= kCollapse;
        EXPECT_EQ(std::memcmp(&parameters().UiUpdates()[i].second, &own, sizeof own), 0);
    }
    send(4, false);
    // The host shows one of them enabled again: only that one is sent.
    PF_ParamDef seed = parameters().At(PARAM_STRIPS_RANDOM_SEED);
    seed.ui_flags &= ~PF_PUI_DISABLED;
    ASSERT_TRUE(parameters().Replace(PARAM_STRIPS_RANDOM_SEED, seed));
    send(5, true);
    EXPECT_EQ(parameters().UiUpdates()[4].first, PARAM_STRIPS_RANDOM_SEED);
    // Switched on: all four come back; a value of 256 counts as off again.
    ASSERT_EQ(parameters().SetValue(PARAM_STRIPS_ENABLE, Number(1)), PF_Err_NONE);
    send(9, true);
    for (PF_ParamIndex index : strips) {
        EXPECT_EQ(parameters().At(index).ui_flags & PF_PUI_DISABLED, 0);
    }
    ASSERT_EQ(parameters().SetValue(PARAM_STRIPS_ENABLE, Number(256)), PF_Err_NONE);
    send(13, true);

    // Nothing in Premiere, nor without global data.
    ASSERT_EQ(parameters().SetValue(PARAM_STRIPS_ENABLE, Number(1)), PF_Err_NONE);
    host::InstanceSettings settings = effect().Settings();
    settings.applicationId = PF_APPL_ID_PREMIERE;
    effect().SetSettings(settings);
    const long acquisitions = host.faults().Calls("AcquireSuite");
    send(13, false);
    EXPECT_EQ(host.faults().Calls("AcquireSuite"), acquisitions);
    settings.applicationId = PF_APPL_ID_AFTER_EFFECTS;
    effect().SetSettings(settings);
    ASSERT_EQ(effect().Send(PF_Cmd_GLOBAL_SETDOWN).err, PF_Err_NONE);
    send(13, false);
    EXPECT_LEDGER_BALANCED(host);
}

// The ramps between keyframes come from the effect's own interpolation, tested with the ramps.
TEST_F(ParamsTest, TheSnapshotHoldsEveryValueAtTheFramesTimeAsTheHostGaveIt) {
    ASSERT_EQ(SendParamsSetup().err, PF_Err_NONE);
    const uint64_t nanBits = 0x7FF4000000000123ULL;  // a signalling NaN with a payload
    double nan;
    std::memcpy(&nan, &nanBits, sizeof nan);
    ASSERT_EQ(parameters().SetValue(PARAM_QUORVEL_FACTOR, Number(nan)), PF_Err_NONE);
    ASSERT_EQ(parameters().SetValue(PARAM_MASK_1, Number(4294967295.0)), PF_Err_NONE);
    ASSERT_EQ(parameters().SetValue(PARAM_SHOW_MASKS_NAMES, Number(257)), PF_Err_NONE);
    ASSERT_EQ(parameters().SetValue(PARAM_ANIMATE, Number(256)), PF_Err_NONE);
    ASSERT_EQ(parameters().SetKeyframe(PARAM_OFFSET, 0.0, Number(0.0)), PF_Err_NONE);
    ASSERT_EQ(parameters().SetKeyframe(PARAM_OFFSET, 2.0, Number(10.0)), PF_Err_NONE);
    const size_t liveHandles = host.handles().LiveCount();

    PF_InData in = FrameInData(1.5);
    RenderSettings settings;
    settings.inData = &in;
    ASSERT_EQ(settings.CheckoutAll(), PF_Err_NONE);
    EXPECT_EQ(settings.offset, 7.5);
    uint64_t bits;
    std::memcpy(&bits, &settings.quorvelFactor, sizeof bits);
    EXPECT_EQ(bits, nanBits);
    EXPECT_EQ(settings.mask1PathId, 4294967295u);
    EXPECT_EQ(settings.showMasksNames, 1) << "the low byte of 257";
    EXPECT_EQ(settings.animate, 0) << "the low byte of 256";
    EXPECT_EQ(settings.backgroundBlendMode, BackgroundMode_Normal);
    EXPECT_EQ(PointsOf(settings.quorvelRamp), kCurves.at(PARAM_QUORVEL_RAMP).points);
    EXPECT_EQ(parameters().OutstandingCheckouts(), 57u);
    EXPECT_EQ(settings.CheckinAll(&in), PF_Err_NONE);
    EXPECT_TRUE(settings.paramDefs.empty());
    EXPECT_LEDGER_BALANCED(host);
    EXPECT_EQ(host.handles().LiveCount(), liveHandles) << "every ramp copy disposed";
}

TEST_F(ParamsTest, AFailedCheckoutEndsTheWalkAndOnlyWhatTheHostGaveGoesBack) {
    ASSERT_EQ(SendParamsSetup().err, PF_Err_NONE);
    PF_InData in = FrameInData(0.0);
    host.faults().FailCall("checkout_param", 13, PF_Err_OUT_OF_MEMORY);
    const long checkouts = host.faults().Calls("checkout_param");
    const long checkins = host.faults().Calls("checkin_param");
    RenderSettings settings;
    settings.inData = &in;
    settings.mask1PathId = 77;
    settings.distortionNoiseAlongFactor = -1.0;  // the 13th
    settings.showMasksNames = 7;
    EXPECT_EQ(settings.CheckoutAll(), PF_Err_OUT_OF_MEMORY);
    EXPECT_EQ(host.faults().Calls("checkout_param"), checkouts + 13);
    EXPECT_EQ(settings.mask1PathId, 0u);
    EXPECT_EQ(settings.distortionNoiseAlongFactor, -1.0);
    EXPECT_EQ(settings.showMasksNames, 7);
    EXPECT_EQ(settings.paramDefs.size(), 57u);
    EXPECT_EQ(settings.CheckinAll(&in), PF_Err_NONE);
    EXPECT_EQ(host.faults().Calls("checkin_param"), checkins + 12);
    EXPECT_LEDGER_BALANCED(host);
}

}  // namespace
}  // namespace quorvel::testing
