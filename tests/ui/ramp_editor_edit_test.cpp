// Clicks, double clicks, Ctrl-clicks and drags in a ramp editor, through the module as the
// host sends them.
#include <vector>

#include <gtest/gtest.h>

#include "tests/ui/ramp_editor_fixture.h"
#include "ui/ramp_editor_plot.h"

namespace quorvel::testing {
namespace {

using Keys = std::vector<std::pair<float, float>>;

RampDragState DragStateOf(const host::UiEvent& event) {
    return RampDragState::Read(event.extra.u.do_click);
}

TEST_F(RampEditorTest, TheHitTestIsStrictAtTenPixelsOnEachAxis) {
    SetRamp(RampMode_All, RampInterpolation_Line, {{0.5f, 0.5f}});  // at pixel (90, 100)
    const PF_Point hits[] = {{99, 100}, {81, 100}, {90, 109}, {90, 91}, {99, 109}};
    for (const PF_Point& point : hits) {
        const host::UiEvent event = Click(point);
        EXPECT_EQ(event.extra.u.do_click.send_drag, 1) << point.h << "," << point.v;
        EXPECT_EQ(DragStateOf(event).index, 0);
    }
    const PF_Point misses[] = {{100, 100}, {80, 100}, {90, 110}, {90, 90}};
    for (const PF_Point& point : misses) {
        const host::UiEvent event = Click(point);
        EXPECT_EQ(event.command.err, PF_Err_NONE);
        EXPECT_EQ(event.extra.u.do_click.send_drag, 0) << point.h << "," << point.v;
        EXPECT_EQ(event.extra.evt_out_flags, 0);
        EXPECT_FALSE(Changed(event));
    }
    // Of two points in reach the smaller key is hit: 96 is 6 pixels from the first key and 0
    // from the second.
    SetRamp(RampMode_All, RampInterpolation_Line, {{0.5f, 0.5f}, {0.546875f, 0.5f}});
    EXPECT_EQ(DragStateOf(Click(PF_Point{96, 100})).index, 0);
    EXPECT_EQ(DragStateOf(Click(PF_Point{101, 100})).index, 1);
    EXPECT_LEDGER_BALANCED(host);
}

TEST_F(RampEditorTest, AClickOnAPointStartsADragWithItsOffsetAndIndex) {
    SetRamp(RampMode_All, RampInterpolation_Line, {{0.25f, 1.0f}, {0.5f, 0.5f}});
    for (A_long clicks : {1, 3}) {
        host::UiEvent event = Click(PF_Point{93, 97}, clicks);
        EXPECT_EQ(event.command.err, PF_Err_NONE);
        EXPECT_EQ(event.extra.u.do_click.send_drag, 1);
        EXPECT_EQ(event.extra.evt_out_flags, PF_EO_HANDLED_EVENT);
        const RampDragState state = DragStateOf(event);
        EXPECT_EQ(state.dx, 90 - 93);
        EXPECT_EQ(state.dy, 100 - 97);
        EXPECT_EQ(state.index, 1);
        EXPECT_FALSE(Changed(event));
    }
    EXPECT_EQ(Points(), (Keys{{0.25f, 1.0f}, {0.5f, 0.5f}}));
    // Off the pixel grid the key's pixel is truncated: 76.75 and 40.75 pixels into the plot
    // are 102 and 76.
    SetRamp(RampMode_All, RampInterpolation_Line, {{307.0f / 512, 349.0f / 512}});
    const RampDragState between = DragStateOf(Click(PF_Point{104, 74}));
    EXPECT_EQ(between.dx, 102 - 104);
    EXPECT_EQ(between.dy, 76 - 74);
}

TEST_F(RampEditorTest, ClicksOutsideTheFrameOrBesideEveryPointDoNothing) {
    SetRamp(RampMode_All, RampInterpolation_Line, {{0.5f, 0.5f}});
    for (const PF_Point& point :
         {PF_Point{19, 100}, PF_Point{161, 100}, PF_Point{90, 29}, PF_Point{90, 171}}) {
        for (PF_Modifiers modifiers :
             {PF_Modifiers{PF_Mod_NONE}, PF_Modifiers{PF_Mod_CMD_CTRL_KEY}}) {
            for (A_long clicks : {1, 2}) {
                const host::UiEvent event = Click(point, clicks, modifiers);
                EXPECT_EQ(event.extra.evt_out_flags, 0);
                EXPECT_FALSE(Changed(event));
            }
        }
    }
    EXPECT_EQ(ramp().interpolation, RampInterpolation_Line);
    EXPECT_EQ(Points(), (Keys{{0.5f, 0.5f}}));
    EXPECT_LEDGER_BALANCED(host);
}

TEST_F(RampEditorTest, DoubleClicksAddAndRemovePoints) {
    SetRamp(RampMode_All, RampInterpolation_Line, {{0.0f, 0.0f}, {1.0f, 1.0f}});
    // On empty space: the key and value under the cursor.
    host::UiEvent event = Click(PF_Point{58, 68}, 2);
    EXPECT_EQ(event.command.err, PF_Err_NONE);
    EXPECT_TRUE(Changed(event));
    EXPECT_EQ(event.extra.evt_out_flags, PF_EO_HANDLED_EVENT);
    EXPECT_EQ(Points(), (Keys{{0.0f, 0.0f}, {0.25f, 0.75f}, {1.0f, 1.0f}}));
    // In the margin left of the plot and above it: a key below 0 and a value above 1.
    Click(PF_Point{20, 30}, 2);
    EXPECT_EQ(Points().front(), std::make_pair(-6.0f / 128, 1.0f + 6.0f / 128));
    // On a point: removed.
    Click(PF_Point{58, 68}, 2);
    Click(PF_Point{20, 30}, 2);
    Click(PF_Point{26, 164}, 2);
    EXPECT_EQ(Points(), (Keys{{1.0f, 1.0f}}));
    // The only point too, which leaves an empty curve.
    event = Click(PF_Point{154, 36}, 2);
    EXPECT_TRUE(Changed(event));
    EXPECT_TRUE(Points().empty());
    EXPECT_LEDGER_BALANCED(host);
}

TEST_F(RampEditorTest, CtrlClicksCycleTheInterpolationByMode) {
    struct Cycle {
        int32_t mode;
        int32_t start;
        std::vector<int32_t> then;
    };
    const Cycle cycles[] = {
        {RampMode_All,
         RampInterpolation_Sin,
         {RampInterpolation_Bezier, RampInterpolation_Line, RampInterpolation_Step,
          RampInterpolation_Sin}},
        {RampMode_WithoutSin,
         RampInterpolation_Sin,
         {RampInterpolation_Line, RampInterpolation_Step, RampInterpolation_Line,
          RampInterpolation_Step}},
        {RampMode_WithoutSin, RampInterpolation_Bezier, {RampInterpolation_Bezier}},
        {RampMode_All, 7, {7}},
        {5, RampInterpolation_Line, {RampInterpolation_Line}},
    };
    for (const Cycle& cycle : cycles) {
        SetRamp(cycle.mode, cycle.start, {{0.5f, 0.5f}});
        for (int32_t expected : cycle.then) {
            // Wherever in the frame, on a point or not, whatever the click count.
            const host::UiEvent event = Click(PF_Point{90, 100}, 2, PF_Mod_CMD_CTRL_KEY);
            EXPECT_EQ(ramp().interpolation, expected) << cycle.mode << " from " << cycle.start;
            EXPECT_TRUE(Changed(event));
            EXPECT_EQ(event.extra.evt_out_flags, PF_EO_HANDLED_EVENT);
            EXPECT_EQ(event.extra.u.do_click.send_drag, 0);
        }
        EXPECT_EQ(Points(), (Keys{{0.5f, 0.5f}}));
    }
    EXPECT_LEDGER_BALANCED(host);
}

TEST_F(RampEditorTest, ADraggedPointKeepsItsIndexAcrossAnotherPoint) {
    SetRamp(RampMode_All, RampInterpolation_Line, {{0.25f, 0.5f}, {0.5f, 1.0f}});
    // Pressed 2 pixels right of the point at (58, 100); the offset is kept for every move.
    const std::vector<host::UiEvent> drag = events.Drag(
        PF_Point{60, 100}, {PF_Point{76, 100}, PF_Point{124, 68}, PF_Point{140, 36}}, &control);
    ASSERT_EQ(drag.size(), 4u);
    EXPECT_EQ(DragStateOf(drag[0]).index, 0);
    EXPECT_EQ(DragStateOf(drag[1]).index, 0);
    EXPECT_EQ(DragStateOf(drag[2]).index, 1);
    EXPECT_EQ(DragStateOf(drag[3]).index, 1);
    EXPECT_EQ(drag[3].extra.u.do_click.last_time, 1);
    for (size_t i = 1; i < drag.size(); ++i) {
        EXPECT_EQ(drag[i].command.err, PF_Err_NONE);
        EXPECT_TRUE(Changed(drag[i]));
        EXPECT_EQ(drag[i].extra.evt_out_flags, PF_EO_HANDLED_EVENT);
    }
    EXPECT_EQ(Points(), (Keys{{0.5f, 1.0f}, {0.875f, 1.0f}}));
    EXPECT_LEDGER_BALANCED(host);
}

TEST_F(RampEditorTest, ADragOntoAnotherKeyStepsTowardTheMiddle) {
    SetRamp(RampMode_All, RampInterpolation_Line,
            {{0.25f, 0.5f}, {0.75f, 0.5f}, {0.75f - 0.001f, 0.25f}, {0.125f, 0.75f}});
    // Onto the key 0.75: 0.749 is taken too, so the point lands on 0.75 - 0.001 - 0.001.
    events.Drag(PF_Point{58, 100}, {PF_Point{122, 50}}, &control);
    float expected = 0.75f;
    expected -= 0.001f;
    expected -= 0.001f;
    EXPECT_EQ(ramp().points->count(expected), 1u);
    EXPECT_EQ(ramp().points->size(), 4u);
    // Below the middle the steps go up: onto the key 0.125.
    SetRamp(RampMode_All, RampInterpolation_Line, {{0.125f, 0.75f}, {0.5f, 0.5f}});
    events.Drag(PF_Point{90, 100}, {PF_Point{42, 100}}, &control);
    EXPECT_EQ(Points(), (Keys{{0.125f, 0.75f}, {0.125f + 0.001f, 0.5f}}));
}

TEST_F(RampEditorTest, ADragStaysInsideThePlot) {
    SetRamp(RampMode_All, RampInterpolation_Line, {{0.5f, 0.5f}});
    events.Drag(PF_Point{90, 100}, {PF_Point{-500, 900}}, &control);
    EXPECT_EQ(Points(), (Keys{{0.0f, 0.0f}}));
    events.Drag(PF_Point{26, 164}, {PF_Point{2000, -70}}, &control);
    EXPECT_EQ(Points(), (Keys{{1.0f, 1.0f}}));
    // Clicks that still ask for drags are drags.
    SetRamp(RampMode_All, RampInterpolation_Line, {{0.5f, 0.5f}});
    const std::vector<host::UiEvent> drag =
        events.Drag(PF_Point{90, 100}, {PF_Point{58, 68}}, &control, true);
    ASSERT_EQ(drag.size(), 2u);
    EXPECT_EQ(drag[1].extra.e_type, PF_Event_DRAG);
    EXPECT_EQ(Points(), (Keys{{0.25f, 0.75f}}));
}

TEST_F(RampEditorTest, ADragWithAStaleIndexChangesNothing) {
    SetRamp(RampMode_All, RampInterpolation_Line, {{0.25f, 0.5f}, {0.5f, 1.0f}});
    for (int32_t index : {2, 7, -2}) {
        PF_EventExtra drag = events.Record(PF_Event_DRAG, &control);
        drag.u.do_click.screen_point = PF_Point{100, 100};
        RampDragState{0, 0, index}.Write(&drag.u.do_click);
        const host::UiEvent event = events.Send(drag);
        EXPECT_EQ(event.command.err, PF_Err_NONE);
        EXPECT_FALSE(Changed(event));
        EXPECT_EQ(event.extra.evt_out_flags, 0);
    }
    EXPECT_EQ(Points(), (Keys{{0.25f, 0.5f}, {0.5f, 1.0f}}));
    // Index -1 drags no point: a new one is placed.
    PF_EventExtra drag = events.Record(PF_Event_DRAG, &control);
    drag.u.do_click.screen_point = PF_Point{122, 68};
    RampDragState{0, 0, -1}.Write(&drag.u.do_click);
    const host::UiEvent event = events.Send(drag);
    EXPECT_EQ(DragStateOf(event).index, 2);
    EXPECT_EQ(Points().back(), std::make_pair(0.75f, 0.75f));
    EXPECT_LEDGER_BALANCED(host);
}

TEST_F(RampEditorTest, OtherAreasAndFramesWithoutRoomAreLeftAlone) {
    SetRamp(RampMode_All, RampInterpolation_Line, {{0.5f, 0.5f}});
    const long locks = host.faults().Calls("host_lock_handle");
    host::EffectControl title = control;
    title.area = PF_EA_PARAM_TITLE;
    EXPECT_EQ(events.Click(PF_Point{90, 100}, 2, PF_Mod_NONE, &title).extra.evt_out_flags, 0);
    // A frame whose plot has no width: clicks and drags do nothing.
    host::EffectControl narrow = control;
    narrow.frame = PF_Rect{20, 30, 32, 170};
    EXPECT_EQ(events.Click(PF_Point{26, 100}, 2, PF_Mod_NONE, &narrow).extra.evt_out_flags, 0);
    PF_EventExtra drag = events.Record(PF_Event_DRAG, &narrow);
    EXPECT_EQ(events.Send(drag).extra.evt_out_flags, 0);
    EXPECT_EQ(events.Other(PF_Event_ADJUST_CURSOR, &control).extra.evt_out_flags, 0);
    EXPECT_EQ(Points(), (Keys{{0.5f, 0.5f}}));
    EXPECT_EQ(host.faults().Calls("host_lock_handle"), locks);
}

TEST_F(RampEditorTest, AValueThatCannotBeLockedFailsTheEventAsOutOfMemory) {
    SetRamp(RampMode_All, RampInterpolation_Line, {{0.5f, 0.5f}});
    host.faults().NullCall("host_lock_handle", 1);
    EXPECT_EQ(Click(PF_Point{90, 100}).command.err, PF_Err_OUT_OF_MEMORY);
    host.faults().MakeSuiteUnavailable("PF Handle Suite");
    EXPECT_EQ(Click(PF_Point{90, 100}).command.err, PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_LEDGER_BALANCED(host);
}

}  // namespace
}  // namespace quorvel::testing
