// EffectMain as the host calls it: the command switch, ABOUT, the dynamic flags and the
// pre-render, each leaving the ledger balanced.
#include <climits>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "shell/params/param_index.h"
#include "tests/support/module_host.h"

namespace quorvel::testing {
namespace {

using DispatchTest = ModuleTest;

constexpr char kAboutText[] =
    "Quorvel v1.0\rRedraws a layer through a mesh between two of its masks.";

TEST_F(DispatchTest, RegistersItsNameAndEntryPoint) {
    const host::Registration& registration = host.registration();
    EXPECT_EQ(registration.calls, 1);
    EXPECT_EQ(registration.name, "Quorvel");
    EXPECT_EQ(registration.matchName, "Velmoran Quorvel");
    EXPECT_EQ(registration.category, "Velmoran");
    EXPECT_EQ(registration.entryPoint, "EffectMain");
    EXPECT_EQ(registration.kind, PF_FOUR_CHAR('e', 'F', 'K', 'T'));
    EXPECT_EQ(registration.apiMajorVersion, 13);
    EXPECT_EQ(registration.apiMinorVersion, 28);
    EXPECT_EQ(registration.reservedInfo, 8);
}

TEST_F(DispatchTest, CommandsWithoutWorkReturnNoneAndWriteNothing) {
    // Above the host's last command, and every command that has no row of its own yet.
    const PF_Cmd commands[] = {29,
                               1000,
                               INT_MAX,
                               -1,
                               PF_Cmd_DO_DIALOG,
                               PF_Cmd_RENDER,
                               PF_Cmd_AUDIO_RENDER,
                               PF_Cmd_RESERVED3};
    for (PF_Cmd cmd : commands) {
        const host::CommandResult result = effect().Send(cmd);
        EXPECT_EQ(result.err, PF_Err_NONE) << "command " << cmd;
        const PF_OutData untouched = {};
        EXPECT_EQ(std::memcmp(&result.out, &untouched, sizeof(untouched)), 0) << "command " << cmd;
    }
    // An effect-window event of a checkbox is left alone.
    PF_EventExtra event = {};
    event.e_type = PF_Event_DO_CLICK;
    event.effect_win.index = PARAM_MASK_1_INVERT_PATH_DIRECTION;
    EXPECT_EQ(effect().Send(PF_Cmd_EVENT, &event).err, PF_Err_NONE);
    EXPECT_LEDGER_BALANCED(host);
}

TEST_F(DispatchTest, AboutWritesItsTextOrFailsWithBadCallbackParamWithoutSuites) {
    host::CommandResult result = effect().Send(PF_Cmd_ABOUT);
    EXPECT_EQ(result.err, PF_Err_NONE);
    EXPECT_EQ(result.Message(), kAboutText);
    EXPECT_EQ(result.out.out_flags, 0);
    EXPECT_EQ(host.faults().Calls("AcquireSuite"), 1);
    EXPECT_LEDGER_BALANCED(host);

    // Without suites: PF_Err_BAD_CALLBACK_PARAM and no message.
    host::InstanceSettings settings = effect().Settings();
    settings.basicSuite = false;
    effect().SetSettings(settings);
    result = effect().Send(PF_Cmd_ABOUT);
    EXPECT_EQ(result.err, PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(result.Message(), "");
    EXPECT_EQ(result.out.out_flags & PF_OutFlag_DISPLAY_ERROR_MESSAGE, 0);

    settings.basicSuite = true;
    effect().SetSettings(settings);
    host.faults().MakeSuiteUnavailable("PF ANSI Suite");
    result = effect().Send(PF_Cmd_ABOUT);
    EXPECT_EQ(result.err, PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(result.Message(), "");

    // A host that answers with success but no table is refused the same way.
    host.faults().Clear();
    host.faults().NullCall("AcquireSuite", 1);
    EXPECT_EQ(effect().Send(PF_Cmd_ABOUT).err, PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_LEDGER_BALANCED(host);
}

TEST_F(DispatchTest, QueryDynamicFlagsFollowsAnimateAndTouchesNoOtherBit) {
    ASSERT_EQ(effect().Send(PF_Cmd_GLOBAL_SETUP).err, PF_Err_NONE);
    const A_long setupFlags = effect().OutFlags();
    ASSERT_NE(setupFlags & PF_OutFlag_NON_PARAM_VARY, 0);

    PutCheckbox(host, PARAM_ANIMATE, 0);
    host::CommandResult result = effect().Send(PF_Cmd_QUERY_DYNAMIC_FLAGS);
    EXPECT_EQ(result.err, PF_Err_NONE);
    EXPECT_EQ(result.out.out_flags, setupFlags & ~PF_OutFlag_NON_PARAM_VARY);
    EXPECT_EQ(result.out.out_flags2, effect().OutFlags2());
    EXPECT_LEDGER_BALANCED(host);

    PutCheckbox(host, PARAM_ANIMATE, 1);
    result = effect().Send(PF_Cmd_QUERY_DYNAMIC_FLAGS);
    EXPECT_EQ(result.err, PF_Err_NONE);
    EXPECT_EQ(result.out.out_flags, setupFlags);
    EXPECT_LEDGER_BALANCED(host);
    EXPECT_EQ(effect().parameters().OutstandingCheckouts(), 0u);
}

TEST_F(DispatchTest, QueryDynamicFlagsPassesACheckoutFailureOnWithoutMessage) {
    // Without the parameter the host refuses the check-out.
    EXPECT_EQ(effect().Send(PF_Cmd_QUERY_DYNAMIC_FLAGS).err, PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_LEDGER_BALANCED(host);

    PutCheckbox(host, PARAM_ANIMATE, 1);
    host.faults().FailCall("checkout_param", 1, PF_Interrupt_CANCEL);
    const host::CommandResult result = effect().Send(PF_Cmd_QUERY_DYNAMIC_FLAGS);
    EXPECT_EQ(result.err, PF_Interrupt_CANCEL);
    EXPECT_EQ(result.Message(), "");
    EXPECT_EQ(result.out.out_flags, 0);
    // The definition is checked in even though its check-out failed.
    EXPECT_EQ(host.faults().Calls("checkin_param"), 2);
    EXPECT_LEDGER_BALANCED(host);
}

PF_RenderRequest Request(PF_LRect rect) {
    PF_RenderRequest request = {};
    request.rect = rect;
    request.channel_mask = 0xF;
    return request;
}

bool SameRect(const PF_LRect& a, const PF_LRect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST_F(DispatchTest, PreRenderAsksForTheWholeLayerJoinedWithTheRequest) {
    host::InstanceSettings settings = effect().Settings();
    settings.width = 200;
    settings.height = 100;
    settings.currentTime = 300;
    effect().SetSettings(settings);

    // An empty request asks for the whole layer.
    host::PreRenderResult result = effect().SmartPreRender(Request({0, 0, 0, 0}));
    ASSERT_EQ(result.command.err, PF_Err_NONE);
    ASSERT_EQ(result.checkouts.size(), 1u);
    EXPECT_EQ(result.checkouts[0].index, PARAM_INPUT);
    EXPECT_EQ(result.checkouts[0].checkoutId, 0);
    EXPECT_TRUE(SameRect(result.checkouts[0].request.rect, {0, 0, 200, 100}));
    EXPECT_EQ(result.checkouts[0].request.channel_mask, 0xF);
    EXPECT_EQ(result.checkouts[0].what_time, 300);
    EXPECT_EQ(result.checkouts[0].time_step, settings.timeStep);
    EXPECT_EQ(result.checkouts[0].time_scale, settings.timeScale);
    EXPECT_TRUE(SameRect(result.output.result_rect, {0, 0, 200, 100}));
    EXPECT_TRUE(SameRect(result.output.max_result_rect, {0, 0, 200, 100}));
    EXPECT_EQ(result.output.flags, PF_RenderOutputFlag_RETURNS_EXTRA_PIXELS);

    // A request partly outside the layer asks for the union of both.
    result = effect().SmartPreRender(Request({-20, 50, 120, 180}));
    ASSERT_EQ(result.checkouts.size(), 1u);
    EXPECT_TRUE(SameRect(result.checkouts[0].request.rect, {-20, 0, 200, 180}));

    // Result rectangles only grow.
    PF_PreRenderOutput start = {};
    start.result_rect = {-5, -5, 10, 10};
    start.max_result_rect = {0, 0, 500, 20};
    start.flags = 0x2;
    result = effect().SmartPreRender(Request({0, 0, 0, 0}), start);
    EXPECT_TRUE(SameRect(result.output.result_rect, {-5, -5, 200, 100}));
    EXPECT_TRUE(SameRect(result.output.max_result_rect, {0, 0, 500, 100}));
    EXPECT_EQ(result.output.flags, 0x3);
    EXPECT_LEDGER_BALANCED(host);
}

TEST_F(DispatchTest, PreRenderPassesACheckoutFailureOn) {
    host.faults().FailCall("checkout_layer", 1, PF_Err_OUT_OF_MEMORY);
    PF_PreRenderOutput start = {};
    start.result_rect = {1, 2, 3, 4};
    const host::PreRenderResult result = effect().SmartPreRender(Request({0, 0, 0, 0}), start);
    EXPECT_EQ(result.command.err, PF_Err_OUT_OF_MEMORY);
    EXPECT_TRUE(SameRect(result.output.result_rect, {1, 2, 3, 4}));
    EXPECT_EQ(result.output.flags, 0);
    EXPECT_EQ(result.command.Message(), "");
    EXPECT_LEDGER_BALANCED(host);
}

}  // namespace
}  // namespace quorvel::testing
