// The custom UI through the module as the host sends its events: the ramp editor's drawing
// (background, curve image in both pixel layouts, plot outline, key squares) and its clicks,
// double clicks, Ctrl-clicks and drags; the mask names over the composition and layer
// windows; and every failing host call of these events.
#include <cmath>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "host/aegp_objects.h"
#include "host/basic_suite.h"
#include "host/interface_colours.h"
#include "host/layer_masks.h"
#include "host/ui_events.h"
#include "shell/params/param_index.h"
#include "shell/toolkit/aegp_wrappers.h"
#include "tests/support/module_params.h"
#include "tests/support/ui_host.h"
#include "ui/mask_names.h"
#include "ui/ramp_editor_plot.h"

namespace quorvel::testing {
namespace {

using host::DrawbotOperation;
using Kind = host::DrawbotOperation::Kind;
using Bytes = std::vector<uint8_t>;
using Rects = std::vector<std::vector<float>>;
using Name = std::tuple<std::string, float, float>;

// A name with a two-byte and a four-byte character: UTF-16 code units as the host wrote them,
// a surrogate pair stays a pair.
const char kSecond[] = "Mask 2 \xC3\xA4\xF0\x9F\x99\x82";

// What an event left the host: its code, its out flags, whether the ramp parameter was marked
// changed (the word holds its saved id otherwise) and whether a drag was asked for.
using Outcome = std::tuple<PF_Err, A_long, bool, A_long>;
const Outcome kUntouched = {PF_Err_NONE, 0, false, 0};
const Outcome kHandled = {PF_Err_NONE, PF_EO_HANDLED_EVENT, false, 0};
const Outcome kEdited = {PF_Err_NONE, PF_EO_HANDLED_EVENT, true, 0};

// The effect's parameters as PARAMS_SETUP made them, "Show Masks Names" on, four masks on the
// layer, a composition window and the ramp parameter "Quorvel Ramp" shown in an effect
// controls window. Its control frame gives a 128 x 128 plot at (26, 36), so that plot positions
// and the 10-pixel tolerances are exact in single precision. The editor's colours are pure, so
// that every channel is 0 or 255 on the canvas and in the image.
class UiTest : public ParamsModuleTest {
  protected:
    static constexpr PF_ParamIndex kIndex = PARAM_QUORVEL_RAMP;

    void SetUp() override {
        ParamsModuleTest::SetUp();
        SendParamsSetup();
        ASSERT_EQ(parameters().SetValue(PARAM_SHOW_MASKS_NAMES, Number(1)), PF_Err_NONE);
        // Colours in the host's order: alpha, red, green, blue.
        const auto at = [](double x, double y) { return host::MaskVertexAt(x, y); };
        // clang-format off
        host.State<host::LayerMasks>().Set({
            {"Mask 1", {1, 1, 0, 0}, true, {at(10.25, -2.5), at(60, 40)}},
            {"Empty", {1, 1, 1, 1}, true, {}}, {"Single", {1, 1, 1, 1}, false, {at(5, 5)}},
            {kSecond, {1, 0, 1, 0}, false, {at(100, 180), at(150, 190)}}});
        // clang-format on
        comp.view = host::UiView{100, 50, 2, 0.5, 10, 20};
        host::InterfaceColours& colours = host.State<host::InterfaceColours>();
        colours.SetBackground({0, 0, 0xFFFF});        // blue
        colours.Set(2, {0xFFFF, 0xFFFF, 0});          // the curve: yellow
        colours.Set(55, {0xFFFF, 0, 0xFFFF});         // key squares: magenta
        colours.Set(1, {0, 0xFFFF, 0});               // below the curve: green
        colours.Set(1002, {0xFFFF, 0xFFFF, 0xFFFF});  // the outline: white
        window.canvas().Clear(0, 0, 0);
    }
    // Every test gives back what it took; the host gives the ramps back through the effect
    // when it ends, so no fault may stand then.
    void TearDown() override {
        host.faults().Clear();
        EXPECT_LEDGER_BALANCED(host);
    }

    void SetRamp(int32_t mode, int32_t interpolation, const Points& points) {
        ASSERT_EQ(parameters().SetValue(kIndex, Flat(mode, interpolation, points)), PF_Err_NONE);
    }
    const Ramp& RampNow() { return RampIn(parameters().At(kIndex).u.arb_d.value); }
    Points KeysNow() { return PointsOf(parameters().At(kIndex).u.arb_d.value); }

    host::UiEvent Click(PF_Point point, A_long clicks = 1, PF_Modifiers modifiers = PF_Mod_NONE) {
        return events.Click(point, clicks, modifiers, &control);
    }
    host::UiEvent Draw() { return events.Draw(&control); }
    host::UiEvent DrawNames() { return host::UiEvents(effect(), comp).Draw(); }
    static Outcome Of(const host::UiEvent& event) {
        return {event.command.err, event.extra.evt_out_flags,
                event.command.params[kIndex].uu.change_flags == PF_ChangeFlag_CHANGED_VALUE,
                event.extra.u.do_click.send_drag};
    }
    static std::tuple<int32_t, int32_t, int32_t> DragOf(const host::UiEvent& event) {
        const RampDragState state = RampDragState::Read(event.extra.u.do_click);
        return {state.dx, state.dy, state.index};
    }

    host::DrawbotObjects& objects() { return host.State<host::DrawbotObjects>(); }
    Bytes ImageBytes(int x, int y) {
        const host::DrawbotObject image = objects().ImagesMade().back();
        const uint8_t* pixel = image.bytes.data() + y * image.rowBytes + x * 4;
        return Bytes(pixel, pixel + 4);
    }
    // The row of the last image's column x in the curve colour, when the rows above it are in
    // the background colour and those below it in the colour below the curve; -1 otherwise.
    int CurveRow(int x) {
        const int height = objects().ImagesMade().back().height;
        int row = 0;
        while (row < height && ImageBytes(x, row) == Bytes{255, 0, 0, 255}) {
            ++row;
        }
        for (int below = row + 1; below < height; ++below) {
            if (ImageBytes(x, below) != Bytes{0, 255, 0, 255}) {
                return -1;
            }
        }
        return row < height && ImageBytes(x, row) == Bytes{0, 255, 255, 255} ? row : -1;
    }
    bool CanvasIs(int x, int y, uint8_t red, uint8_t green, uint8_t blue, int tolerance = 0) {
        return SameColour(window.canvas().Pixel(x, y), red, green, blue, tolerance);
    }
    // The rectangles stroked (the plot outline, then a square per key point), and the names
    // drawn with their origins (forgotten once read).
    Rects Stroked() {
        Rects rects;
        for (const DrawbotOperation& stroke : OperationsOf(objects(), Kind::StrokePath)) {
            rects.emplace_back(stroke.path.at(0).values, stroke.path.at(0).values + 4);
        }
        return rects;
    }
    std::vector<Name> Names() {
        std::vector<Name> names;
        for (const DrawbotOperation& name : OperationsOf(objects(), Kind::DrawString)) {
            names.emplace_back(name.text, name.origin.x, name.origin.y);
        }
        objects().ForgetRecords();
        return names;
    }

    host::UiWindow window{PF_Window_EFFECT, 200, 200};
    host::EffectControl control = {kIndex, PF_Rect{20, 30, 160, 170}};
    host::UiEvents events{effect(), window};
    host::UiWindow comp{PF_Window_COMP, 400, 300};
};

TEST_F(UiTest, TheEditorDrawsBackgroundCurveImageOutlineAndKeySquares) {
    SetRamp(RampMode_All, RampInterpolation_Line, {{0.0f, 1.0f}, {1.0f, 0.0f}});
    EXPECT_EQ(Of(Draw()), kHandled);
    const std::vector<DrawbotOperation> drawn = objects().Operations();
    ASSERT_EQ(drawn.size(), 5u);
    EXPECT_EQ(drawn[0].kind, Kind::FillPath);
    EXPECT_EQ(std::vector<float>(drawn[0].path.at(0).values, drawn[0].path.at(0).values + 4),
              (std::vector<float>{20.5f, 30.5f, 140, 140}));
    EXPECT_EQ(std::make_tuple(drawn[1].kind, drawn[1].origin.x, drawn[1].origin.y, drawn[1].alpha),
              std::make_tuple(Kind::DrawImage, 26.0f, 36.0f, 1.0f));
    EXPECT_EQ(Stroked(),
              (Rects{{25, 35, 130, 130}, {21.5f, 31.5f, 10, 10}, {149.5f, 159.5f, 10, 10}}));
    // The image: 128 x 128 in B, G, R, A; column i has the falling line on row i.
    const host::DrawbotObject image = objects().ImagesMade().at(0);
    EXPECT_EQ(std::make_tuple(image.width, image.height, image.rowBytes, image.layout),
              std::make_tuple(128, 128, 512, kDRAWBOT_PixelLayout_32BGR));
    EXPECT_EQ(std::make_tuple(CurveRow(0), CurveRow(64), CurveRow(127)),
              std::make_tuple(0, 64, 127));
    // On the canvas: the curve row, a key square's side in its colour, the white outline of
    // width 1 half into the background beside it; nothing outside the frame.
    EXPECT_TRUE(CanvasIs(90, 100, 255, 255, 0) && CanvasIs(149, 164, 255, 0, 255));
    EXPECT_TRUE(CanvasIs(25, 100, 128, 128, 255, 2) && CanvasIs(19, 100, 0, 0, 0));

    // In every column, values 1 and above on the top row, 0 and below on the bottom one, an empty
    // curve (1 everywhere) on the top row; off the pixel grid the row is truncated: 0.6 x 128
    // = 76.8 is row 76.
    // clang-format off
    const std::pair<Points, int> curves[] = {{{{0.5f, 1.0f}}, 0}, {{{0.5f, 0.0f}}, 127},
        {{{0.5f, 1.5f}}, 0}, {{{0.5f, -2.0f}}, 127}, {{}, 0}, {{{0.5f, 0.4f}}, 76}};
    // clang-format on
    for (const auto& [points, row] : curves) {
        SetRamp(RampMode_All, RampInterpolation_Line, points);
        EXPECT_EQ(Draw().command.err, PF_Err_NONE);
        EXPECT_EQ(std::make_pair(CurveRow(0), CurveRow(77)), std::make_pair(row, row));
    }
    // Keys 2.5 pixels left of the plot and 64.5 pixels into it, values half a pixel and 64.5
    // pixels below the top: centres at -3 and 65, 1 and 65, halves away from zero.
    SetRamp(RampMode_All, RampInterpolation_Line,
            {{-2.5f / 128, 1 - 0.5f / 128}, {64.5f / 128, 1 - 64.5f / 128}});
    objects().ForgetRecords();
    EXPECT_EQ(Draw().command.err, PF_Err_NONE);
    EXPECT_EQ(Stroked(),
              (Rects{{25, 35, 130, 130}, {18.5f, 32.5f, 10, 10}, {86.5f, 96.5f, 10, 10}}));
}

TEST_F(UiTest, TheEditorsSupplierChoosesThePixelLayoutOrNone) {
    SetRamp(RampMode_All, RampInterpolation_Line, {{0.5f, 1.0f}});
    // One that prefers ARGB gets alpha first; a channel of 32768 is 127.5 bytes and more:
    // truncated to 127. Both layouts put the same colours on the canvas.
    host::DrawbotSupplierSettings& settings = window.canvas().settings();
    settings.prefersARGB = true;
    host.State<host::InterfaceColours>().Set(2, {0xFFFF, 0x8000, 0});
    EXPECT_EQ(Draw().command.err, PF_Err_NONE);
    ASSERT_EQ(objects().ImagesMade().back().layout, kDRAWBOT_PixelLayout_32RGB);
    EXPECT_EQ(ImageBytes(3, 0), (Bytes{255, 255, 127, 0}));
    EXPECT_EQ(ImageBytes(3, 1), (Bytes{255, 0, 255, 0}));
    EXPECT_TRUE(CanvasIs(29, 36, 255, 127, 0) && CanvasIs(29, 37, 0, 255, 0));
    // One without a layout to offer: PF_Err_OUT_OF_MEMORY after the background, without an
    // image, outline or key square.
    // clang-format off
    for (const host::DrawbotSupplierSettings& refusing : {
             host::DrawbotSupplierSettings{false, true, false, true}, {true, false, true, true},
             {false, true, true, false}, {false, false, false, false}}) {
        // clang-format on
        settings = refusing;
        window.canvas().Clear(0, 0, 0);
        objects().ForgetRecords();
        EXPECT_EQ(Of(Draw()), (Outcome{PF_Err_OUT_OF_MEMORY, 0, false, 0}));
        EXPECT_TRUE(CanvasIs(90, 36, 0, 0, 255) && CanvasIs(25, 100, 0, 0, 255));
        EXPECT_TRUE(objects().ImagesMade().empty());
    }
    // The title area: handled, nothing drawn, the colours still asked for.
    settings = {};
    objects().ForgetRecords();
    control.area = PF_EA_PARAM_TITLE;
    const long colours = host.faults().Calls("PF_AppGetColor");
    EXPECT_EQ(Of(Draw()), kHandled);
    EXPECT_TRUE(objects().Operations().empty());
    EXPECT_EQ(host.faults().Calls("PF_AppGetColor") - colours, 4);
    // A plot without inner height: no curve image, the outline and key square still drawn.
    control = {kIndex, PF_Rect{20, 30, 160, 40}};
    EXPECT_EQ(Of(Draw()), kHandled);
    EXPECT_TRUE(objects().ImagesMade().empty());
    EXPECT_EQ(Stroked().size(), 2u);
    // No drawing reference: handled, no supplier asked for.
    window.drawable = false;
    const long suppliers = host.faults().Calls("GetSupplier");
    EXPECT_EQ(Of(Draw()), kHandled);
    EXPECT_EQ(host.faults().Calls("GetSupplier"), suppliers);
}

TEST_F(UiTest, AClickWithinTenPixelsOfAPointStartsADrag) {
    // The point at pixel (90, 100): the hit test is strict at 10 pixels on each axis; a triple
    // click is a click.
    SetRamp(RampMode_All, RampInterpolation_Line, {{0.25f, 1.0f}, {0.5f, 0.5f}});
    // clang-format off
    for (const auto& [h, v, clicks] : {std::tuple{99, 100, 1}, {81, 100, 1}, {90, 109, 1},
                                       {90, 91, 1}, {99, 109, 1}, {93, 97, 3}}) {
        // clang-format on
        const host::UiEvent event = Click(PF_Point{h, v}, clicks);
        EXPECT_EQ(Of(event), (Outcome{PF_Err_NONE, PF_EO_HANDLED_EVENT, false, 1})) << h << v;
        EXPECT_EQ(DragOf(event), std::make_tuple(90 - h, 100 - v, 1));
    }
    // Beside the point, or outside the frame even with Ctrl or a double click: nothing.
    for (const PF_Point& point :
         {PF_Point{100, 100}, PF_Point{80, 100}, PF_Point{90, 110}, PF_Point{90, 90}}) {
        EXPECT_EQ(Of(Click(point)), kUntouched) << point.h << "," << point.v;
    }
    for (const PF_Point& point :
         {PF_Point{19, 100}, PF_Point{161, 100}, PF_Point{90, 29}, PF_Point{90, 171}}) {
        EXPECT_EQ(Of(Click(point, 2, PF_Mod_CMD_CTRL_KEY)), kUntouched) << point.h;
        EXPECT_EQ(Of(Click(point, 2)), kUntouched) << point.h;
    }
    EXPECT_EQ(RampNow().interpolation, RampInterpolation_Line);
    EXPECT_EQ(KeysNow(), (Points{{0.25f, 1.0f}, {0.5f, 0.5f}}));
    // Of two points in reach the smaller key is hit: 96 is 6 pixels from the first key and 0
    // from the second. Off the pixel grid a key's pixel is truncated: 76.75 and 40.75 pixels
    // into the plot are 102 and 76.
    SetRamp(RampMode_All, RampInterpolation_Line,
            {{0.5f, 0.5f}, {0.546875f, 0.5f}, {307.0f / 512, 349.0f / 512}});
    EXPECT_EQ(std::get<2>(DragOf(Click(PF_Point{96, 100}))), 0);
    EXPECT_EQ(std::get<2>(DragOf(Click(PF_Point{101, 100}))), 1);
    EXPECT_EQ(DragOf(Click(PF_Point{104, 74})), std::make_tuple(102 - 104, 76 - 74, 2));
}

TEST_F(UiTest, DoubleClicksAddAndRemovePointsAndCtrlClicksCycleTheInterpolation) {
    SetRamp(RampMode_All, RampInterpolation_Line, {{0.0f, 0.0f}, {1.0f, 1.0f}});
    // On empty space: the key and value under the cursor; in the margin left of the plot and
    // above it a key below 0 and a value above 1.
    EXPECT_EQ(Of(Click(PF_Point{58, 68}, 2)), kEdited);
    EXPECT_EQ(Of(Click(PF_Point{20, 30}, 2)), kEdited);
    EXPECT_EQ(KeysNow(), (Points{{-6.0f / 128, 1 + 6.0f / 128}, {0, 0}, {0.25f, 0.75f}, {1, 1}}));
    // On a point: removed; the only point too, which leaves an empty curve.
    for (const PF_Point& point :
         {PF_Point{58, 68}, PF_Point{20, 30}, PF_Point{26, 164}, PF_Point{154, 36}}) {
        EXPECT_EQ(Of(Click(point, 2)), kEdited);
    }
    EXPECT_TRUE(KeysNow().empty());
    // Ctrl-clicks, wherever in the frame, on a point or not, whatever the click count, from
    // each (mode, interpolation) to the interpolations that follow.
    // clang-format off
    const std::tuple<int32_t, int32_t, std::vector<int32_t>> cycles[] = {
        {RampMode_All, RampInterpolation_Sin, {3, 1, 2, 0}}, {RampMode_WithoutSin, 0, {1, 2, 1}},
        {RampMode_WithoutSin, 3, {3}}, {RampMode_All, 7, {7}}, {5, RampInterpolation_Line, {1}}};
    // clang-format on
    for (const auto& [mode, start, then] : cycles) {
        SetRamp(mode, start, {{0.5f, 0.5f}});
        for (int32_t expected : then) {
            EXPECT_EQ(Of(Click(PF_Point{90, 100}, 2, PF_Mod_CMD_CTRL_KEY)), kEdited);
            EXPECT_EQ(RampNow().interpolation, expected) << mode << " from " << start;
        }
        EXPECT_EQ(KeysNow(), (Points{{0.5f, 0.5f}}));
    }
}

TEST_F(UiTest, ADraggedPointKeepsItsIndexAndStaysInsideThePlot) {
    SetRamp(RampMode_All, RampInterpolation_Line, {{0.25f, 0.5f}, {0.5f, 1.0f}});
    // Pressed 2 pixels right of the point at (58, 100); the offset is kept for every move, and
    // the host's send_drag with it.
    const std::vector<host::UiEvent> drag = events.Drag(
        PF_Point{60, 100}, {PF_Point{76, 100}, PF_Point{124, 68}, PF_Point{140, 36}}, &control);
    ASSERT_EQ(drag.size(), 4u);
    for (size_t i = 1; i < drag.size(); ++i) {
        EXPECT_EQ(Of(drag[i]), (Outcome{PF_Err_NONE, PF_EO_HANDLED_EVENT, true, 1}));
        EXPECT_EQ(DragOf(drag[i]), std::make_tuple(-2, 0, i < 2 ? 0 : 1));
    }
    EXPECT_EQ(drag[3].extra.u.do_click.last_time, 1);
    EXPECT_EQ(KeysNow(), (Points{{0.5f, 1.0f}, {0.875f, 1.0f}}));
    // Far outside the plot the point stays on its edge; clicks that still ask for drags drag.
    SetRamp(RampMode_All, RampInterpolation_Line, {{0.5f, 0.5f}});
    events.Drag(PF_Point{90, 100}, {PF_Point{-500, 900}}, &control);
    EXPECT_EQ(KeysNow(), (Points{{0.0f, 0.0f}}));
    events.Drag(PF_Point{26, 164}, {PF_Point{2000, -70}}, &control);
    EXPECT_EQ(KeysNow(), (Points{{1.0f, 1.0f}}));
    EXPECT_EQ(events.Drag(PF_Point{154, 36}, {PF_Point{58, 68}}, &control, true).at(1).extra.e_type,
              PF_Event_DRAG);
    EXPECT_EQ(KeysNow(), (Points{{0.25f, 0.75f}}));
    // Onto another key the point steps by 0.001 toward the middle: onto 0.75, where 0.749 is
    // taken too, it lands on 0.75 - 0.001 - 0.001; onto 0.125 on 0.126.
    SetRamp(RampMode_All, RampInterpolation_Line,
            {{0.25f, 0.5f}, {0.75f, 0.5f}, {0.75f - 0.001f, 0.25f}, {0.125f, 0.75f}});
    events.Drag(PF_Point{58, 100}, {PF_Point{122, 50}}, &control);
    float expected = 0.75f;
    expected -= 0.001f;
    expected -= 0.001f;
    EXPECT_EQ(KeysNow().size(), 4u);
    EXPECT_EQ(RampNow().points->count(expected), 1u);
    SetRamp(RampMode_All, RampInterpolation_Line, {{0.125f, 0.75f}, {0.5f, 0.5f}});
    events.Drag(PF_Point{90, 100}, {PF_Point{42, 100}}, &control);
    EXPECT_EQ(KeysNow(), (Points{{0.125f, 0.75f}, {0.125f + 0.001f, 0.5f}}));

    // A drag whose index names no point changes nothing; index -1 drags no point: a new one
    // is placed.
    const auto stale = [&](const host::EffectControl& where, int32_t index, PF_Point point) {
        PF_EventExtra record = events.Record(PF_Event_DRAG, &where);
        record.u.do_click.screen_point = point;
        RampDragState{0, 0, index}.Write(&record.u.do_click);
        return events.Send(record);
    };
    for (int32_t index : {2, 7, -2}) {
        EXPECT_EQ(Of(stale(control, index, PF_Point{100, 100})), kUntouched) << index;
    }
    // The title area, a frame whose plot has no width, other events: no lock is even taken.
    const long locks = host.faults().Calls("host_lock_handle");
    const host::EffectControl title = {kIndex, control.frame, PF_EA_PARAM_TITLE};
    const host::EffectControl narrow = {kIndex, PF_Rect{20, 30, 32, 170}};
    EXPECT_EQ(Of(events.Click(PF_Point{90, 100}, 2, PF_Mod_NONE, &title)), kUntouched);
    EXPECT_EQ(Of(events.Click(PF_Point{26, 100}, 2, PF_Mod_NONE, &narrow)), kUntouched);
    EXPECT_EQ(Of(stale(narrow, 0, PF_Point{26, 100})), kUntouched);
    EXPECT_EQ(events.Other(PF_Event_ADJUST_CURSOR, &control).extra.evt_out_flags, 0);
    EXPECT_EQ(host.faults().Calls("host_lock_handle"), locks);
    EXPECT_EQ(KeysNow(), (Points{{0.125f, 0.75f}, {0.125f + 0.001f, 0.5f}}));
    EXPECT_EQ(std::get<2>(DragOf(stale(control, -1, PF_Point{122, 68}))), 2);
    EXPECT_EQ(KeysNow().back(), std::make_pair(0.75f, 0.75f));
}

TEST(FixedFromCoordinateTest, RoundsHalvesAwayFromZeroAndStaysInRange) {
    // clang-format off
    const std::pair<double, PF_Fixed> cases[] = {{-2.5, -163840}, {-0.000004, 0}, {1.00001, 65537},
        {0.5 / 65536, 1}, {-0.5 / 65536, -1}, {-0.0, 0}, {1e12, 2147483647},
        {-1e12, -2147483647 - 1}, {std::nan(""), 0}};
    // clang-format on
    for (const auto& [coordinate, fixed] : cases) {
        EXPECT_EQ(FixedFromCoordinate(coordinate), fixed) << coordinate;
    }
}

// What the drawing asked for the stream names, on its way to the host's own function.
std::vector<A_Boolean> englishAsked;
decltype(AEGP_StreamSuite10::AEGP_GetStreamName) hostStreamName;

A_Err SeeStreamName(AEGP_PluginID plugin, AEGP_StreamRefH stream, A_Boolean english,
                    AEGP_MemHandle* name) {
    englishAsked.push_back(english);
    return hostStreamName(plugin, stream, english, name);
}

TEST_F(UiTest, NamesLandThroughTheWindowsTransformsInTheirColours) {
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
    englishAsked.clear();

    EXPECT_EQ(Of(DrawNames()), kHandled);
    const std::vector<DrawbotOperation> strings = OperationsOf(objects(), Kind::DrawString);
    const DrawbotOperation& first = strings.at(0);
    EXPECT_EQ(std::make_tuple(first.size, first.alignment, first.colour.red, first.colour.green,
                              first.colour.blue, first.colour.alpha, strings.at(1).colour.green),
              std::make_tuple(14.0f, kDRAWBOT_TextAlignment_Left, 1.0f, 0.0f, 0.0f, 1.0f, 1.0f));
    // The mask without vertices and the open one with a single vertex have no segment.
    // 10.25 -> composition 100 + 2 x 10.25 = 120.5 -> window 10 + 0.5 x 120.5 = 70.25;
    // -2.5 -> 50 - 5 = 45 -> 20 + 22.5 = 42.5, and the baseline 0.5 x 14 above it.
    EXPECT_EQ(Names(), (std::vector<Name>{{"Mask 1", 70.25f, 35.5f},
                                          {kSecond, 10 + 0.5f * 300, 20 + 0.5f * 410 - 7}}));
    EXPECT_EQ(objects().Made(host::DrawbotObject::Kind::Font), 1);
    EXPECT_EQ(objects().Made(host::DrawbotObject::Kind::Brush), 2);
    // Everything at the event's time: the outline in layer time and before expressions; the
    // names as the user wrote them.
    EXPECT_EQ(englishAsked, std::vector<A_Boolean>(4, 0));
    const std::vector<host::AegpValueRequest> requests = host.State<host::AegpObjects>().Requests();
    ASSERT_EQ(requests.size(), 4u);
    for (const host::AegpValueRequest& r : requests) {
        EXPECT_TRUE(r.timeMode == AEGP_LTimeMode_LayerTime && r.time.value == 4800 &&
                    r.time.scale == 1200u && r.preExpression);
    }
    // The name as the host wrote it, to its last unit and no further.
    PF_InData in = {};
    in.effect_ref = &effect();
    in.pica_basicP = host::BasicSuite();
    in.global_data = effect().GlobalData();
    AegpEffect aegp(&in);
    AegpLayer aegpLayer = aegp.Layer();
    EXPECT_EQ(aegpLayer.Mask(3).Stream(AEGP_MaskStream_OUTLINE).Parent().Name(false),
              std::u16string(u"Mask 2 \u00e4\U0001F642"));
    // What the host leaves unwritten is zero: a colour without alpha, the vertex at 0.
    host.faults().NullCall("AEGP_GetMaskColor", 1);
    host.faults().NullCall("AEGP_GetMaskOutlineVertexInfo", 1);
    EXPECT_EQ(Of(DrawNames()), kHandled);
    EXPECT_EQ(OperationsOf(objects(), Kind::DrawString).at(0).colour.alpha, 0.0f);
    EXPECT_EQ(Names().at(0), Name("Mask 1", 10 + 0.5f * 100, 20 + 0.5f * 50 - 7));
    host.faults().Clear();
    // A transform that fails leaves the point where it was; the layer window takes only the
    // source transform.
    host.faults().FailCall("layer_to_comp", 1, 99);
    EXPECT_EQ(DrawNames().command.err, PF_Err_NONE);
    EXPECT_EQ(std::get<1>(Names().at(0)), 10 + 0.5f * 10.25f);
    host::UiWindow layer{PF_Window_LAYER, 400, 300};
    layer.view = host::UiView{0, 0, 1, 2, 0, 0};
    EXPECT_EQ(host::UiEvents(effect(), layer).Draw().command.err, PF_Err_NONE);
    EXPECT_EQ(Names().at(0), Name("Mask 1", 20.5f, -5.0f - 7));
    host.faults().FailCall("source_to_frame", 1, 99);
    EXPECT_EQ(host::UiEvents(effect(), layer).Draw().command.err, PF_Err_NONE);
    EXPECT_EQ(Names().at(0), Name("Mask 1", 10.25f, -2.5f - 7));
    EXPECT_EQ(layer.layerToCompCalls, 0);
}

TEST_F(UiTest, WithoutNamesToDrawTheEventIsTakenAsTheBoxSays) {
    // Clicks and other events of the composition window: taken, nothing drawn, nothing marked;
    // the box unchecked: nothing drawn, no suite asked for; a drawing event of a window of no
    // known type, or of none, is not taken for the names.
    host::UiEvents events(effect(), comp);
    const long suites = host.faults().Calls("AcquireSuite");
    EXPECT_EQ(Of(events.Click(PF_Point{50, 50})), kUntouched);
    EXPECT_EQ(events.Other(PF_Event_ADJUST_CURSOR).extra.evt_out_flags, 0);
    host::UiWindow none{PF_Window_NONE, 10, 10};
    EXPECT_EQ(Of(host::UiEvents(effect(), none).Draw()), kUntouched);
    PF_EventExtra contextless = events.Record(PF_Event_DRAW, nullptr);
    contextless.contextH = nullptr;
    EXPECT_EQ(Of(events.Send(contextless)), kUntouched);
    ASSERT_EQ(parameters().SetValue(PARAM_SHOW_MASKS_NAMES, Number(0)), PF_Err_NONE);
    EXPECT_EQ(Of(DrawNames()), kUntouched);
    EXPECT_EQ(host.faults().Calls("AcquireSuite"), suites);
    EXPECT_TRUE(objects().Operations().empty());
    // A layer without masks still makes and releases the font; a window without a drawing
    // reference reaches neither the font nor the effect.
    ASSERT_EQ(parameters().SetValue(PARAM_SHOW_MASKS_NAMES, Number(1)), PF_Err_NONE);
    host.State<host::LayerMasks>().Set({});
    EXPECT_EQ(Of(DrawNames()), kHandled);
    EXPECT_EQ(objects().Made(host::DrawbotObject::Kind::Font), 1);
    EXPECT_TRUE(objects().Operations().empty());
    comp.drawable = false;
    const long effects = host.faults().Calls("AEGP_GetNewEffectForEffect");
    EXPECT_EQ(Of(DrawNames()), kHandled);
    EXPECT_EQ(objects().Made(host::DrawbotObject::Kind::Font), 1);
    EXPECT_EQ(host.faults().Calls("AEGP_GetNewEffectForEffect"), effects);
    // Without global data the drawing fails with its message.
    comp.drawable = true;
    ASSERT_EQ(effect().Send(PF_Cmd_GLOBAL_SETDOWN).err, PF_Err_NONE);
    const host::UiEvent event = DrawNames();
    EXPECT_EQ(Of(event), (Outcome{PF_Err_INTERNAL_STRUCT_DAMAGED, 0, false, 0}));
    EXPECT_EQ(event.command.Message(),
              "Failed to get global data while constructing an AEGP effect");
}

// Each host call of the UI's events failing once, as an error or as a success that hands out
// nothing, and each suite missing: the event ends with its code and no message, marked handled
// only when it succeeds, and every object, handle, lock and suite is given back. The calls are
// named "function" or "function#nth" (its nth call from the event's start, or the missing
// suite's version).
TEST_F(UiTest, EachFailingCallEndsTheEventWithItsCodeAndLeavesNothingBehind) {
    enum Event { kEditor, kTitle, kClick, kNames };
    enum Fault { kError, kNull, kNoSuite };
    constexpr PF_Err kCode = 1234;
    constexpr PF_Err kNoMemory = PF_Err_OUT_OF_MEMORY;
    // The names' AEGP calls, whose wrappers raise the failing call's code, for the first mask
    // and again for the last; those made once per walk fail only the first time.
    std::string walk;
    for (const std::string call : kAegpWalkCalls) {
        walk += "," + call;
        if (call != "AEGP_GetNewEffectForEffect" && call != "AEGP_GetEffectLayer" &&
            call != "AEGP_GetLayerNumMasks") {
            walk += "," + call + "#2";
        }
    }
    // clang-format off
    const std::tuple<Event, Fault, PF_Err, std::string> all[] = {
        // The editor with one key point, in the order of its calls: every failure before the
        // choice of pixel layout, and every object that cannot be made, is PF_Err_OUT_OF_MEMORY.
        {kEditor, kError, kNoMemory,
         "PF_GetDrawingReference,GetSupplier,GetSurface,PF_AppGetBgColor,PF_AppGetColor,"
         "PF_AppGetColor#4,NewPath,NewBrush,AddRect,FillPath,PrefersPixelLayoutARGB,"
         "PrefersPixelLayoutBGRA,SupportsPixelLayoutBGRA,host_new_handle,host_lock_handle,"
         "host_lock_handle#2,NewPen,NewPath#2,NewPen#2,NewPath#3"},
        {kEditor, kError, kCode, "NewImageFromBuffer,DrawImage,AddRect#2,StrokePath,AddRect#3,"
         "StrokePath#2,ReleaseObject#2,ReleaseObject#3,ReleaseObject#4"},
        // Releases: the key path's wrapper (dropped), the image, the brush, the background path,
        // then the key pen, outline path and outline pen (dropped).
        {kEditor, kError, PF_Err_NONE, "ReleaseObject,ReleaseObject#5,ReleaseObject#7"},
        {kEditor, kNull, kNoMemory,
         "GetSupplier,GetSurface,NewPath,NewBrush,NewImageFromBuffer,NewPen,NewPath#2"},
        {kEditor, kNoSuite, kNoMemory, "DRAWBOT Draw Suite,DRAWBOT Supplier Suite,"
         "DRAWBOT Surface Suite,DRAWBOT Path Suite,PF Effect Custom UI Suite,PF AE App Suite"},
        {kEditor, kNoSuite, PF_Err_BAD_CALLBACK_PARAM, "PF Handle Suite"},
        {kTitle, kError, kCode, "GetSurface"},  // keeps a failure's own code
        {kClick, kNull, kNoMemory, "host_lock_handle"},
        {kClick, kNoSuite, PF_Err_BAD_CALLBACK_PARAM, "PF Handle Suite"},
        {kNames, kError, kCode, "PF_GetDrawingReference,GetSurface,GetSupplier,GetDefaultFontSize,"
         "NewDefaultFont,NewBrush,DrawString,ReleaseObject" + walk},
        {kNames, kError, PF_Err_NONE, "AEGP_DisposeStreamValue,AEGP_DisposeStream,"
         "AEGP_DisposeMask,AEGP_DisposeEffect,AEGP_GetNewEffectForEffect#2,"
         "AEGP_GetEffectLayer#2,AEGP_GetLayerNumMasks#2"},
        {kNames, kNull, kNoMemory, "GetSurface,GetSupplier,NewDefaultFont,NewBrush,"
         "AEGP_GetNewEffectForEffect,AEGP_GetEffectLayer,AEGP_GetLayerMaskByIndex,"
         "AEGP_GetNewMaskStream,AEGP_GetNewParentStreamRef,AEGP_GetStreamName,"
         "AEGP_LockMemHandle,AEGP_GetNewStreamValue"},
        // A missing suite is acquired before the handle it disposes is made; the Stream Suite
        // at the version each of its calls asks for.
        {kNames, kNoSuite, PF_Err_BAD_CALLBACK_PARAM, "PF Effect Custom UI Suite,"
         "DRAWBOT Draw Suite,DRAWBOT Supplier Suite,DRAWBOT Surface Suite,"
         "AEGP PF Interface Suite,AEGP Mask Outline Suite,AEGP Layer Mask Suite,"
         "AEGP Stream Suite#7,AEGP Stream Suite#9,AEGP Stream Suite#10,"
         "AEGP Dynamic Stream Suite,AEGP Memory Suite,AEGP Effect Suite"},
    };
    // clang-format on
    SetRamp(RampMode_All, RampInterpolation_Line, {{0.5f, 0.5f}});
    const host::EffectControl title = {kIndex, control.frame, PF_EA_PARAM_TITLE};
    for (const auto& [event, fault, expected, calls] : all) {
        std::stringstream list(calls);
        for (std::string call; std::getline(list, call, ',');) {
            const size_t mark = call.find('#');
            const std::string function = call.substr(0, mark);
            const int nth = mark != std::string::npos ? std::stoi(call.substr(mark + 1))
                            : fault == kNoSuite       ? -1
                                                      : 1;
            host.faults().Clear();
            if (fault == kError) {
                host.faults().FailCall(function, nth, kCode);
            } else if (fault == kNull) {
                host.faults().NullCall(function, nth);
            } else {
                host.faults().MakeSuiteUnavailable(function, nth);
            }
            const host::UiEvent result = event == kNames   ? DrawNames()
                                         : event == kClick ? Click(PF_Point{90, 100})
                                         : event == kTitle ? events.Draw(&title)
                                                           : Draw();
            SCOPED_TRACE(std::to_string(event) + " " + call + " fault " + std::to_string(fault));
            EXPECT_EQ(result.command.err, expected);
            EXPECT_EQ(result.extra.evt_out_flags, expected == 0 ? PF_EO_HANDLED_EVENT : 0);
            // A missing suite of the editor posts the suite cache's own message.
            EXPECT_TRUE((fault == kNoSuite && event == kEditor) ||
                        result.command.Message().empty());
            EXPECT_LEDGER_BALANCED(host);
        }
    }
}

}  // namespace
}  // namespace quorvel::testing
