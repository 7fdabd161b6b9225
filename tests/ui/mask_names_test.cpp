// The mask names over the composition and layer windows: which events the filter takes, where
// each name lands through the window's transforms, its font and colour on the canvas, and
// every failing call ending the drawing with nothing left behind.
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "host/aegp_objects.h"
#include "host/layer_masks.h"
#include "shell/params/param_index.h"
#include "shell/toolkit/errors.h"
#include "tests/support/module_host.h"
#include "tests/support/ui_host.h"
#include "ui/mask_names.h"

namespace quorvel::testing {
namespace {

using host::DrawbotOperation;

constexpr PF_ParamIndex kShowMasksNames = PARAM_SHOW_MASKS_NAMES;

// What the drawing passed to the calls whose arguments the host does not keep, on their way
// to the host's own functions.
std::vector<std::string> seen;
decltype(PF_EventCallbacks::layer_to_comp) hostLayerToComp;
decltype(AEGP_StreamSuite10::AEGP_GetStreamName) hostStreamName;

PF_Err SeeLayerToComp(void* refcon, PF_ContextH context, A_long time, A_long scale,
                      PF_FixedPoint* point) {
    seen.push_back("layer_to_comp at " + std::to_string(time) + "/" + std::to_string(scale));
    return hostLayerToComp(refcon, context, time, scale, point);
}

A_Err SeeStreamName(AEGP_PluginID plugin, AEGP_StreamRefH stream, A_Boolean english,
                    AEGP_MemHandle* name) {
    seen.push_back("name, English " + std::to_string(english));
    return hostStreamName(plugin, stream, english, name);
}

TEST(FixedFromCoordinateTest, RoundsHalvesAwayFromZeroAndStaysInRange) {
    EXPECT_EQ(FixedFromCoordinate(-2.5), -163840);
    EXPECT_EQ(FixedFromCoordinate(-0.000004), 0);
    EXPECT_EQ(FixedFromCoordinate(1.00001), 65537);
    EXPECT_EQ(FixedFromCoordinate(0.5 / 65536), 1);
    EXPECT_EQ(FixedFromCoordinate(-0.5 / 65536), -1);
    EXPECT_EQ(FixedFromCoordinate(-0.0), 0);
    EXPECT_EQ(FixedFromCoordinate(1e12), 2147483647);
    EXPECT_EQ(FixedFromCoordinate(-1e12), -2147483647 - 1);
    EXPECT_EQ(FixedFromCoordinate(std::nan("")), 0);
}

TEST(FilterCompWindowEventTest, TakesEveryEventOfTheCompositionAndLayerWindowsOnly) {
    PF_Context context = {0, PF_Window_COMP, nullptr, 0};
    PF_Context* contextPointer = &context;
    PF_EventExtra event = {};
    event.contextH = &contextPointer;
    event.e_type = PF_Event_DO_CLICK;
    event.evt_out_flags = 0x40;
    PF_InData in = {};
    EXPECT_FALSE(FilterCompWindowEvent(PF_Cmd_RENDER, &in, nullptr, nullptr, nullptr, &event));
    EXPECT_TRUE(FilterCompWindowEvent(PF_Cmd_EVENT, &in, nullptr, nullptr, nullptr, &event));
    context.w_type = PF_Window_LAYER;
    event.e_type = PF_Event_ADJUST_CURSOR;
    EXPECT_TRUE(FilterCompWindowEvent(PF_Cmd_EVENT, &in, nullptr, nullptr, nullptr, &event));
    // Nothing drawn and nothing marked: the host's flags stay.
    EXPECT_EQ(event.evt_out_flags, 0x40);
    for (PF_WindowType window :
         {PF_WindowType{PF_Window_EFFECT}, PF_WindowType{PF_Window_NONE}, PF_WindowType{7}}) {
        context.w_type = window;
        EXPECT_FALSE(FilterCompWindowEvent(PF_Cmd_EVENT, &in, nullptr, nullptr, nullptr, &event))
            << window;
    }
    // A drawing event reads the checkbox also from a host that leaves num_params 0; one that
    // states an array too short to hold it has the box off. The drawing that starts stops here
    // at once: this in_data has no basic suite.
    std::vector<PF_ParamDef> definitions(PARAM_COUNT);
    std::vector<PF_ParamDef*> params;
    for (PF_ParamDef& definition : definitions) {
        params.push_back(&definition);
    }
    definitions[kShowMasksNames].u.bd.value = 1;
    context.w_type = PF_Window_COMP;
    event.e_type = PF_Event_DRAW;
    in.num_params = kShowMasksNames;
    EXPECT_TRUE(FilterCompWindowEvent(PF_Cmd_EVENT, &in, nullptr, params.data(), nullptr, &event));
    in.num_params = 0;
    EXPECT_THROW(
        FilterCompWindowEvent(PF_Cmd_EVENT, &in, nullptr, params.data(), nullptr, &event),
        HostCode);
    // An event without a context is no window's.
    event.contextH = nullptr;
    EXPECT_FALSE(FilterCompWindowEvent(PF_Cmd_EVENT, &in, nullptr, nullptr, nullptr, &event));
}

class MaskNamesTest : public ModuleTest {
  protected:
    void SetUp() override {
        ModuleTest::SetUp();
        ASSERT_EQ(effect().Send(PF_Cmd_GLOBAL_SETUP).err, PF_Err_NONE);
        PutCheckbox(host, kShowMasksNames, 1);
        host::LayerMask first;
        first.name = "Mask 1";
        first.colour = {1.0, 1.0, 0.0, 0.0};  // alpha, red, green, blue
        first.vertices = {host::MaskVertexAt(10.25, -2.5), host::MaskVertexAt(60, 40)};
        host::LayerMask empty;
        empty.name = "Empty";
        host::LayerMask single;
        single.name = "Single";
        single.closed = false;
        single.vertices = {host::MaskVertexAt(5, 5)};
        host::LayerMask second;
        second.name = "Mask 2";
        second.colour = {1.0, 0.0, 1.0, 0.0};
        second.closed = false;
        second.vertices = {host::MaskVertexAt(100, 180), host::MaskVertexAt(150, 190)};
        host.State<host::LayerMasks>().Set({first, empty, single, second});
        comp.view = host::UiView{100, 50, 2, 0.5, 10, 20};
        comp.canvas().Clear(0, 0, 0);
        layer.view = host::UiView{0, 0, 1, 2, 0, 0};
        layer.canvas().Clear(0, 0, 0);
    }

    host::DrawbotObjects& objects() { return host.State<host::DrawbotObjects>(); }
    std::vector<DrawbotOperation> Strings() {
        return OperationsOf(objects(), DrawbotOperation::Kind::DrawString);
    }

    host::UiWindow comp{PF_Window_COMP, 400, 300};
    host::UiWindow layer{PF_Window_LAYER, 400, 300};
};

TEST_F(MaskNamesTest, NamesLandThroughTheCompositionTransformsInTheirColours) {
    host::InstanceSettings settings = effect().Settings();
    settings.currentTime = 4800;
    settings.timeScale = 1200;
    effect().SetSettings(settings);
    const void* hostStreams = nullptr;
    host.suites().Acquire(kAEGPStreamSuite, kAEGPStreamSuiteVersion10, &hostStreams);
    host.suites().Release(kAEGPStreamSuite, kAEGPStreamSuiteVersion10);
    static AEGP_StreamSuite10 streams;  // served until the host ends
    streams = *static_cast<const AEGP_StreamSuite10*>(hostStreams);
    hostStreamName = std::exchange(streams.AEGP_GetStreamName, &SeeStreamName);
    host.suites().Add({kAEGPStreamSuite, kAEGPStreamSuiteVersion10, &streams});
    host::UiEvents events(effect(), comp);
    PF_EventExtra record = events.Record(PF_Event_DRAW, nullptr);
    hostLayerToComp = std::exchange(record.cbs.layer_to_comp, &SeeLayerToComp);
    seen.clear();

    const host::UiEvent event = events.Send(record);
    EXPECT_EQ(event.command.err, PF_Err_NONE);
    EXPECT_EQ(event.extra.evt_out_flags, PF_EO_HANDLED_EVENT);
    // The mask without vertices and the open one with a single vertex have no segment.
    const std::vector<DrawbotOperation> strings = Strings();
    ASSERT_EQ(strings.size(), 2u);
    EXPECT_EQ(strings[0].text, "Mask 1");
    EXPECT_EQ(strings[1].text, "Mask 2");
    // 10.25 -> composition 100 + 2 x 10.25 = 120.5 -> window 10 + 0.5 x 120.5 = 70.25;
    // -2.5 -> 50 - 5 = 45 -> 20 + 22.5 = 42.5, and the baseline 0.5 x 14 above it.
    EXPECT_EQ(strings[0].origin.x, 70.25f);
    EXPECT_EQ(strings[0].origin.y, 35.5f);
    EXPECT_EQ(strings[1].origin.x, 10.0f + 0.5f * 300.0f);
    EXPECT_EQ(strings[1].origin.y, 20.0f + 0.5f * 410.0f - 7.0f);
    EXPECT_EQ(strings[0].size, 14.0f);
    EXPECT_EQ(strings[0].alignment, kDRAWBOT_TextAlignment_Left);
    EXPECT_EQ(strings[0].colour.red, 1.0f);
    EXPECT_EQ(strings[0].colour.green, 0.0f);
    EXPECT_EQ(strings[0].colour.alpha, 1.0f);
    EXPECT_EQ(strings[1].colour.green, 1.0f);
    EXPECT_EQ(comp.layerToCompCalls, 2);
    EXPECT_EQ(comp.sourceToFrameCalls, 2);
    // Everything at the event's time: the outline in layer time and before expressions, the
    // point's way into the composition; the names as the user wrote them.
    const std::string name = "name, English 0";
    const std::string toComp = "layer_to_comp at 4800/1200";
    EXPECT_EQ(seen, (std::vector<std::string>{name, toComp, name, name, name, toComp}));
    const std::vector<host::AegpValueRequest> requests = host.State<host::AegpObjects>().Requests();
    ASSERT_EQ(requests.size(), 4u);
    for (const host::AegpValueRequest& r : requests) {
        EXPECT_TRUE(r.timeMode == AEGP_LTimeMode_LayerTime && r.time.value == 4800 &&
                    r.time.scale == 1200u && r.preExpression);
    }
    EXPECT_EQ(objects().Made(host::DrawbotObject::Kind::Font), 1);
    EXPECT_EQ(objects().Made(host::DrawbotObject::Kind::Brush), 2);
    EXPECT_LEDGER_BALANCED(host);
}

TEST_F(MaskNamesTest, TheLayerWindowTakesOnlyTheSourceTransform) {
    const host::UiEvent event = host::UiEvents(effect(), layer).Draw();
    EXPECT_EQ(event.command.err, PF_Err_NONE);
    const std::vector<DrawbotOperation> strings = Strings();
    ASSERT_EQ(strings.size(), 2u);
    EXPECT_EQ(strings[0].origin.x, 20.5f);
    EXPECT_EQ(strings[0].origin.y, -5.0f - 7.0f);
    EXPECT_EQ(layer.layerToCompCalls, 0);
    EXPECT_EQ(layer.sourceToFrameCalls, 2);
    EXPECT_LEDGER_BALANCED(host);
}

TEST_F(MaskNamesTest, CallbacksThatFailLeaveThePointWhereItWas) {
    host.faults().FailCall("layer_to_comp", 1, 99);
    host.faults().FailCall("source_to_frame", 1, 99);
    const host::UiEvent event = host::UiEvents(effect(), comp).Draw();
    EXPECT_EQ(event.command.err, PF_Err_NONE);
    const std::vector<DrawbotOperation> strings = Strings();
    ASSERT_EQ(strings.size(), 2u);
    EXPECT_EQ(strings[0].origin.x, 10.25f);
    EXPECT_EQ(strings[0].origin.y, -2.5f - 7.0f);
}

TEST_F(MaskNamesTest, OtherEventsAndAnUncheckedBoxDrawNothing) {
    host::UiEvents events(effect(), comp);
    host::UiEvent click = events.Click(PF_Point{50, 50});
    EXPECT_EQ(click.command.err, PF_Err_NONE);
    EXPECT_EQ(click.extra.evt_out_flags, 0);
    EXPECT_EQ(events.Other(PF_Event_ADJUST_CURSOR).extra.evt_out_flags, 0);
    PutCheckbox(host, kShowMasksNames, 0);
    const host::UiEvent draw = events.Draw();
    EXPECT_EQ(draw.command.err, PF_Err_NONE);
    EXPECT_EQ(draw.extra.evt_out_flags, 0);
    EXPECT_EQ(host.faults().Calls("AcquireSuite"), 2);  // the global set-up's only
    EXPECT_TRUE(objects().Operations().empty());
    EXPECT_LEDGER_BALANCED(host);
}

TEST_F(MaskNamesTest, NoMasksOrNoDrawingReferenceAreHandledWithoutDrawing) {
    // A layer without masks still makes and releases the font.
    host.State<host::LayerMasks>().Set({});
    host::UiEvent event = host::UiEvents(effect(), comp).Draw();
    EXPECT_EQ(event.command.err, PF_Err_NONE);
    EXPECT_EQ(event.extra.evt_out_flags, PF_EO_HANDLED_EVENT);
    EXPECT_EQ(objects().Made(host::DrawbotObject::Kind::Font), 1);
    EXPECT_TRUE(Strings().empty());
    EXPECT_LEDGER_BALANCED(host);
    // A window without a drawing reference reaches neither the font nor the effect.
    comp.drawable = false;
    const long effects = host.faults().Calls("AEGP_GetNewEffectForEffect");
    event = host::UiEvents(effect(), comp).Draw();
    EXPECT_EQ(event.command.err, PF_Err_NONE);
    EXPECT_EQ(event.extra.evt_out_flags, PF_EO_HANDLED_EVENT);
    EXPECT_EQ(objects().Made(host::DrawbotObject::Kind::Font), 1);
    EXPECT_EQ(host.faults().Calls("AEGP_GetNewEffectForEffect"), effects);
    EXPECT_LEDGER_BALANCED(host);
}

TEST_F(MaskNamesTest, WithoutGlobalDataTheDrawingFailsWithItsMessage) {
    ASSERT_EQ(effect().Send(PF_Cmd_GLOBAL_SETDOWN).err, PF_Err_NONE);
    const host::UiEvent event = host::UiEvents(effect(), comp).Draw();
    EXPECT_EQ(event.command.err, PF_Err_INTERNAL_STRUCT_DAMAGED);
    EXPECT_EQ(event.command.Message(),
              "Failed to get global data while constructing an AEGP effect");
    EXPECT_EQ(event.extra.evt_out_flags, 0);
    EXPECT_LEDGER_BALANCED(host);
}

// Each Drawbot, custom UI and AEGP call of the drawing failing once: the event ends with the
// call's code and no message, unmarked, and every object, handle and suite is given back.
// Disposals that fail end nothing.
TEST_F(MaskNamesTest, EachFailingCallEndsTheDrawingAndLeavesNothingBehind) {
    std::vector<const char*> calls = {
        "PF_GetDrawingReference", "GetSurface", "GetSupplier", "GetDefaultFontSize",
        "NewDefaultFont",         "NewBrush",   "DrawString",  "ReleaseObject"};
    calls.insert(calls.end(), kAegpWalkCalls.begin(), kAegpWalkCalls.end());

    for (const char* call : calls) {
        host.faults().Clear();
        objects().ForgetRecords();
        host.faults().FailCall(call, 1, 4321);
        const host::UiEvent event = host::UiEvents(effect(), comp).Draw();
        EXPECT_EQ(event.command.err, 4321) << call;
        EXPECT_EQ(event.command.Message(), "") << call;
        EXPECT_EQ(event.extra.evt_out_flags, 0) << call;
        EXPECT_LEDGER_BALANCED(host) << call;
    }
    // A Drawbot creation that reports success but hands out nothing has failed all the same.
    for (const char* creation : {"GetSurface", "GetSupplier", "NewDefaultFont", "NewBrush"}) {
        host.faults().Clear();
        host.faults().NullCall(creation, 1);
        const host::UiEvent event = host::UiEvents(effect(), comp).Draw();
        EXPECT_EQ(event.command.err, PF_Err_OUT_OF_MEMORY) << creation;
        EXPECT_EQ(event.extra.evt_out_flags, 0) << creation;
        EXPECT_LEDGER_BALANCED(host) << creation;
    }
    for (const char* disposal : kAegpDisposals) {
        host.faults().Clear();
        host.faults().FailCall(disposal, 1, 4321);
        const host::UiEvent event = host::UiEvents(effect(), comp).Draw();
        EXPECT_EQ(event.command.err, PF_Err_NONE) << disposal;
        EXPECT_EQ(event.extra.evt_out_flags, PF_EO_HANDLED_EVENT) << disposal;
        EXPECT_LEDGER_BALANCED(host) << disposal;
    }
    for (const char* suite :
         {"PF Effect Custom UI Suite", "DRAWBOT Draw Suite", "DRAWBOT Supplier Suite",
          "DRAWBOT Surface Suite", "AEGP PF Interface Suite", "AEGP Mask Outline Suite"}) {
        host.faults().Clear();
        host.faults().MakeSuiteUnavailable(suite);
        const host::UiEvent event = host::UiEvents(effect(), comp).Draw();
        EXPECT_EQ(event.command.err, PF_Err_BAD_CALLBACK_PARAM) << suite;
        EXPECT_LEDGER_BALANCED(host) << suite;
    }
}

}  // namespace
}  // namespace quorvel::testing
