// The ramp editor's drawing on the host's Cairo canvas: background, curve image in both pixel
// layouts, plot outline and key squares, checked by the objects drawn and by their pixels,
// and every failing call ending the drawing with nothing left behind.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host/interface_colours.h"
#include "tests/support/ui_host.h"
#include "tests/ui/ramp_editor_fixture.h"

namespace quorvel::testing {
namespace {

using host::DrawbotOperation;

// Pure colours, so that every channel is 0 or 255 on the canvas and in the image.
class RampEditorDrawTest : public RampEditorTest {
  protected:
    void SetUp() override {
        RampEditorTest::SetUp();
        host::InterfaceColours& colours = host.State<host::InterfaceColours>();
        colours.SetBackground({0, 0, 0xFFFF});        // blue
        colours.Set(2, {0xFFFF, 0xFFFF, 0});          // the curve: yellow
        colours.Set(55, {0xFFFF, 0, 0xFFFF});         // key squares: magenta
        colours.Set(1, {0, 0xFFFF, 0});               // below the curve: green
        colours.Set(1002, {0xFFFF, 0xFFFF, 0xFFFF});  // the outline: white
    }

    host::DrawbotObjects& objects() { return host.State<host::DrawbotObjects>(); }
    const host::DrawbotCanvas& canvas() { return window.canvas(); }

    // The bytes of the last image made, at column x and row y.
    std::vector<uint8_t> ImageBytes(int x, int y) {
        const std::vector<host::DrawbotObject> images = objects().ImagesMade();
        if (images.empty()) {
            return {};
        }
        const host::DrawbotObject& image = images.back();
        const uint8_t* pixel = image.bytes.data() + y * image.rowBytes + x * 4;
        return std::vector<uint8_t>(pixel, pixel + 4);
    }
};

const std::vector<uint8_t> kBlueBGRA = {255, 0, 0, 255};
const std::vector<uint8_t> kYellowBGRA = {0, 255, 255, 255};
const std::vector<uint8_t> kGreenBGRA = {0, 255, 0, 255};

TEST_F(RampEditorDrawTest, DrawsBackgroundCurveOutlineAndKeySquares) {
    SetRamp(RampMode_All, RampInterpolation_Line, {{0.0f, 1.0f}, {1.0f, 0.0f}});
    const host::UiEvent event = Draw();
    EXPECT_EQ(event.command.err, PF_Err_NONE);
    EXPECT_EQ(event.extra.evt_out_flags, PF_EO_HANDLED_EVENT);

    const std::vector<DrawbotOperation> operations = objects().Operations();
    ASSERT_EQ(operations.size(), 5u);
    EXPECT_EQ(operations[0].kind, DrawbotOperation::Kind::FillPath);
    const float* background = operations[0].path.at(0).values;
    EXPECT_EQ(std::vector<float>(background, background + 4),
              (std::vector<float>{20.5f, 30.5f, 140, 140}));
    EXPECT_EQ(operations[1].kind, DrawbotOperation::Kind::DrawImage);
    EXPECT_EQ(operations[1].origin.x, 26.0f);
    EXPECT_EQ(operations[1].origin.y, 36.0f);
    EXPECT_EQ(operations[1].alpha, 1.0f);
    EXPECT_EQ(operations[2].kind, DrawbotOperation::Kind::StrokePath);
    const float* outline = operations[2].path.at(0).values;
    EXPECT_EQ(std::vector<float>(outline, outline + 4), (std::vector<float>{25, 35, 130, 130}));
    EXPECT_EQ(operations[2].size, 1.0f);
    EXPECT_EQ(operations[2].colour.red, 1.0f);
    const float* first = operations[3].path.at(0).values;
    EXPECT_EQ(std::vector<float>(first, first + 4), (std::vector<float>{21.5f, 31.5f, 10, 10}));
    const float* last = operations[4].path.at(0).values;
    EXPECT_EQ(std::vector<float>(last, last + 4), (std::vector<float>{149.5f, 159.5f, 10, 10}));
    EXPECT_EQ(operations[4].colour.green, 0.0f);

    // The image: 128 x 128 in B, G, R, A; column i has the falling line on row i.
    const std::vector<host::DrawbotObject> images = objects().ImagesMade();
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(images[0].width, 128);
    EXPECT_EQ(images[0].height, 128);
    EXPECT_EQ(images[0].rowBytes, 512);
    EXPECT_EQ(images[0].layout, kDRAWBOT_PixelLayout_32BGR);
    for (int i : {0, 1, 64, 127}) {
        EXPECT_EQ(ImageBytes(i, i), kYellowBGRA) << i;
        if (i > 0) {
            EXPECT_EQ(ImageBytes(i, i - 1), kBlueBGRA) << i;
        }
        if (i < 127) {
            EXPECT_EQ(ImageBytes(i, i + 1), kGreenBGRA) << i;
        }
    }

    // On the canvas: the curve row, the colours around it, the key squares' sides and the
    // outline blended half into the background beside it.
    EXPECT_TRUE(SameColour(canvas().Pixel(90, 100), 255, 255, 0));
    EXPECT_TRUE(SameColour(canvas().Pixel(149, 164), 255, 0, 255));
    EXPECT_TRUE(SameColour(canvas().Pixel(25, 100), 128, 128, 255, 2));
    EXPECT_TRUE(SameColour(canvas().Pixel(70, 35), 128, 128, 255, 2));
    EXPECT_TRUE(SameColour(canvas().Pixel(22, 100), 0, 0, 255));
    // Outside the frame nothing is drawn.
    EXPECT_TRUE(SameColour(canvas().Pixel(19, 100), 0, 0, 0));
    EXPECT_LEDGER_BALANCED(host);
}

TEST_F(RampEditorDrawTest, TheCurveRowOfValuesOneAndZero) {
    const struct {
        float value;
        int row;
    } cases[] = {{1.0f, 0}, {0.0f, 127}, {1.5f, 0}, {-2.0f, 127}};
    for (const auto& curve : cases) {
        SetRamp(RampMode_All, RampInterpolation_Line, {{0.5f, curve.value}});
        EXPECT_EQ(Draw().command.err, PF_Err_NONE);
        for (int column : {0, 77, 127}) {
            EXPECT_EQ(ImageBytes(column, curve.row), kYellowBGRA) << curve.value;
        }
        EXPECT_EQ(ImageBytes(77, curve.row == 0 ? 1 : 126),
                  curve.row == 0 ? kGreenBGRA : kBlueBGRA);
    }
    // An empty curve is 1 everywhere: the top row.
    SetRamp(RampMode_All, RampInterpolation_Line, {});
    EXPECT_EQ(Draw().command.err, PF_Err_NONE);
    EXPECT_EQ(ImageBytes(5, 0), kYellowBGRA);
    EXPECT_EQ(ImageBytes(5, 1), kGreenBGRA);
    EXPECT_TRUE(SameColour(canvas().Pixel(31, 36), 255, 255, 0));
    // Off the pixel grid the curve row is truncated: 0.6 x 128 = 76.8 is row 76.
    SetRamp(RampMode_All, RampInterpolation_Line, {{0.5f, 0.4f}});
    EXPECT_EQ(Draw().command.err, PF_Err_NONE);
    EXPECT_EQ(ImageBytes(77, 76), kYellowBGRA);
    EXPECT_EQ(ImageBytes(77, 77), kGreenBGRA);
    EXPECT_LEDGER_BALANCED(host);
}

TEST_F(RampEditorDrawTest, KeySquaresCentreOnTheNearestPixelHalvesAwayFromZero) {
    // Keys 2.5 pixels left of the plot and 64.5 pixels into it, values half a pixel and 64.5
    // pixels below the top: centres at -3 and 65, 1 and 65.
    SetRamp(RampMode_All, RampInterpolation_Line,
            {{-2.5f / 128, 1 - 0.5f / 128}, {64.5f / 128, 1 - 64.5f / 128}});
    EXPECT_EQ(Draw().command.err, PF_Err_NONE);
    const std::vector<DrawbotOperation> squares =
        OperationsOf(objects(), DrawbotOperation::Kind::StrokePath);
    ASSERT_EQ(squares.size(), 3u);  // the outline first
    const float* first = squares[1].path.at(0).values;
    const float* second = squares[2].path.at(0).values;
    EXPECT_EQ(std::vector<float>(first, first + 4), (std::vector<float>{18.5f, 32.5f, 10, 10}));
    EXPECT_EQ(std::vector<float>(second, second + 4), (std::vector<float>{86.5f, 96.5f, 10, 10}));
}

TEST_F(RampEditorDrawTest, ASupplierThatPrefersARGBGetsAlphaFirst) {
    window.canvas().settings().prefersARGB = true;
    // A channel of 32768 is 127.5 bytes and more: truncated to 127.
    host.State<host::InterfaceColours>().Set(2, {0xFFFF, 0x8000, 0});
    SetRamp(RampMode_All, RampInterpolation_Line, {{0.5f, 1.0f}});
    EXPECT_EQ(Draw().command.err, PF_Err_NONE);
    ASSERT_EQ(objects().ImagesMade().back().layout, kDRAWBOT_PixelLayout_32RGB);
    EXPECT_EQ(ImageBytes(3, 0), (std::vector<uint8_t>{255, 255, 127, 0}));
    EXPECT_EQ(ImageBytes(3, 1), (std::vector<uint8_t>{255, 0, 255, 0}));
    EXPECT_EQ(ImageBytes(3, 2), ImageBytes(3, 1));
    // Both layouts put the same colours on the canvas.
    EXPECT_TRUE(SameColour(canvas().Pixel(29, 36), 255, 127, 0));
    EXPECT_TRUE(SameColour(canvas().Pixel(29, 37), 0, 255, 0));
}

TEST_F(RampEditorDrawTest, ASupplierWithoutALayoutToOfferIsOutOfMemory) {
    SetRamp(RampMode_All, RampInterpolation_Line, {{0.5f, 1.0f}});
    struct Supplier {
        bool prefersARGB, supportsARGB, prefersBGRA, supportsBGRA;
    };
    const Supplier suppliers[] = {{false, true, false, true},
                                  {true, false, true, true},
                                  {false, true, true, false},
                                  {false, false, false, false}};
    for (const Supplier& supplier : suppliers) {
        host::DrawbotSupplierSettings& settings = window.canvas().settings();
        settings.prefersARGB = supplier.prefersARGB;
        settings.supportsARGB = supplier.supportsARGB;
        settings.prefersBGRA = supplier.prefersBGRA;
        settings.supportsBGRA = supplier.supportsBGRA;
        window.canvas().Clear(0, 0, 0);
        const host::UiEvent event = Draw();
        EXPECT_EQ(event.command.err, PF_Err_OUT_OF_MEMORY);
        EXPECT_EQ(event.extra.evt_out_flags, 0);
        // The background is there; no image, outline or key square.
        EXPECT_TRUE(SameColour(canvas().Pixel(90, 36), 0, 0, 255));
        EXPECT_TRUE(SameColour(canvas().Pixel(25, 100), 0, 0, 255));
        EXPECT_LEDGER_BALANCED(host);
    }
    EXPECT_TRUE(objects().ImagesMade().empty());
}

TEST_F(RampEditorDrawTest, TitleAreaNoRoomOrNoDrawingReferenceDrawLess) {
    SetRamp(RampMode_All, RampInterpolation_Line, {{0.5f, 1.0f}});
    // The title area: handled, nothing drawn, the colours still asked for.
    host::UiEvent event = Draw(PF_EA_PARAM_TITLE);
    EXPECT_EQ(event.command.err, PF_Err_NONE);
    EXPECT_EQ(event.extra.evt_out_flags, PF_EO_HANDLED_EVENT);
    EXPECT_TRUE(objects().Operations().empty());
    EXPECT_EQ(host.faults().Calls("PF_AppGetColor"), 4);
    // A failure there keeps its own code.
    host.faults().FailCall("GetSurface", 1, 1234);
    event = Draw(PF_EA_PARAM_TITLE);
    EXPECT_EQ(event.command.err, 1234);
    EXPECT_EQ(event.extra.evt_out_flags, 0);
    EXPECT_LEDGER_BALANCED(host);

    // A plot without inner height: no curve image, the outline and key square still drawn.
    host.faults().Clear();
    objects().ForgetRecords();
    const host::EffectControl saved = control;
    control.frame = PF_Rect{20, 30, 160, 40};
    EXPECT_EQ(Draw().command.err, PF_Err_NONE);
    EXPECT_TRUE(objects().ImagesMade().empty());
    EXPECT_EQ(OperationsOf(objects(), DrawbotOperation::Kind::StrokePath).size(), 2u);
    control = saved;

    // No drawing reference: handled, no supplier asked for.
    window.drawable = false;
    const long suppliers = host.faults().Calls("GetSupplier");
    event = Draw();
    EXPECT_EQ(event.command.err, PF_Err_NONE);
    EXPECT_EQ(event.extra.evt_out_flags, PF_EO_HANDLED_EVENT);
    EXPECT_EQ(host.faults().Calls("GetSupplier"), suppliers);
    EXPECT_LEDGER_BALANCED(host);
}

// Each call of the drawing failing once, with one key point: the result, the event left
// unmarked on failure, and every object, handle, lock and suite given back.
TEST_F(RampEditorDrawTest, EachFailingCallEndsTheDrawingAndLeavesNothingBehind) {
    SetRamp(RampMode_All, RampInterpolation_Line, {{0.5f, 0.5f}});
    struct Failure {
        const char* call;
        int nth;
        PF_Err expected;
    };
    constexpr PF_Err kCode = 1234;
    const Failure failures[] = {
        {"PF_GetDrawingReference", 1, 4},
        {"GetSupplier", 1, 4},
        {"GetSurface", 1, 4},
        {"PF_AppGetBgColor", 1, 4},
        {"PF_AppGetColor", 1, 4},
        {"PF_AppGetColor", 4, 4},
        {"NewPath", 1, 4},
        {"NewBrush", 1, 4},
        {"AddRect", 1, 4},
        {"FillPath", 1, 4},
        {"PrefersPixelLayoutARGB", 1, 4},
        {"PrefersPixelLayoutBGRA", 1, 4},
        {"SupportsPixelLayoutBGRA", 1, 4},
        {"host_new_handle", 1, 4},
        {"host_lock_handle", 1, 4},
        {"host_lock_handle", 2, 4},
        {"NewImageFromBuffer", 1, kCode},
        {"DrawImage", 1, kCode},
        {"NewPen", 1, 4},
        {"NewPath", 2, 4},
        {"AddRect", 2, kCode},
        {"StrokePath", 1, kCode},
        {"NewPen", 2, 4},
        {"NewPath", 3, 4},
        {"AddRect", 3, kCode},
        {"StrokePath", 2, kCode},
        // Releases: the key path's wrapper (dropped), the image, the brush, the background
        // path, then the key pen, outline path and outline pen (dropped).
        {"ReleaseObject", 1, 0},
        {"ReleaseObject", 2, kCode},
        {"ReleaseObject", 3, kCode},
        {"ReleaseObject", 4, kCode},
        {"ReleaseObject", 5, 0},
        {"ReleaseObject", 7, 0},
    };
    for (const Failure& failure : failures) {
        host.faults().Clear();
        host.faults().FailCall(failure.call, failure.nth, kCode);
        const host::UiEvent event = Draw();
        const std::string what = std::string(failure.call) + " #" + std::to_string(failure.nth);
        EXPECT_EQ(event.command.err, failure.expected) << what;
        EXPECT_EQ(event.extra.evt_out_flags, failure.expected == 0 ? PF_EO_HANDLED_EVENT : 0)
            << what;
        EXPECT_EQ(event.command.Message(), "") << what;
        EXPECT_LEDGER_BALANCED(host) << what;
    }
    // A creation that reports success but hands out nothing has failed all the same.
    for (const char* creation :
         {"GetSupplier", "GetSurface", "NewPath", "NewBrush", "NewImageFromBuffer", "NewPen"}) {
        host.faults().Clear();
        host.faults().NullCall(creation, 1);
        const host::UiEvent event = Draw();
        EXPECT_EQ(event.command.err, PF_Err_OUT_OF_MEMORY) << creation;
        EXPECT_EQ(event.extra.evt_out_flags, 0) << creation;
        EXPECT_LEDGER_BALANCED(host) << creation;
    }
    const struct {
        const char* suite;
        PF_Err expected;
    } suites[] = {{"DRAWBOT Draw Suite", 4},
                  {"DRAWBOT Supplier Suite", 4},
                  {"DRAWBOT Surface Suite", 4},
                  {"DRAWBOT Path Suite", 4},
                  {"PF Effect Custom UI Suite", 4},
                  {"PF AE App Suite", 4},
                  {"PF Handle Suite", PF_Err_BAD_CALLBACK_PARAM}};
    for (const auto& missing : suites) {
        host.faults().Clear();
        host.faults().MakeSuiteUnavailable(missing.suite);
        const host::UiEvent event = Draw();
        EXPECT_EQ(event.command.err, missing.expected) << missing.suite;
        EXPECT_EQ(event.extra.evt_out_flags, 0) << missing.suite;
        EXPECT_LEDGER_BALANCED(host) << missing.suite;
    }
}

}  // namespace
}  // namespace quorvel::testing
