#pragma once

#include <vector>

#include "host/effect_instance.h"
#include "host/ui_window.h"
#include "host_api/effect.h"

namespace quorvel::host {

// The effect-window part of an event: which parameter's UI, which area of it, and the
// area's frame in the window's pixels.
struct EffectControl {
    PF_ParamIndex index;
    PF_Rect frame;
    PF_EffectArea area = PF_EA_CONTROL;
};

// One event's outcome: the command's result and the event record as the module left it.
struct UiEvent {
    CommandResult command;
    PF_EventExtra extra;
};

// Sends PF_Cmd_EVENT events of a window the way the host does: each record carries the
// window's context and coordinate callbacks, and effect-window events their control. Null
// control: an event of a composition or layer window.
class UiEvents {
  public:
    UiEvents(EffectInstance& effect, UiWindow& window) : effect_(effect), window_(window) {}

    UiEvent Draw(const EffectControl* control = nullptr);
    UiEvent Click(PF_Point point, A_long clicks = 1, PF_Modifiers modifiers = PF_Mod_NONE,
                  const EffectControl* control = nullptr);
    // A press at point and moves through moves: while the module asks for drags (send_drag),
    // the host sends one PF_Event_DRAG per move carrying the continue_refcon that the event
    // before left, the last one with last_time set. dragsAsClicks sends the moves as clicks
    // that still carry send_drag, as some hosts do. The press first, then each move's event.
    std::vector<UiEvent> Drag(PF_Point press, const std::vector<PF_Point>& moves,
                              const EffectControl* control = nullptr, bool dragsAsClicks = false,
                              PF_Modifiers modifiers = PF_Mod_NONE);
    // Any other event type (PF_Event_ADJUST_CURSOR, PF_Event_IDLE, ...).
    UiEvent Other(PF_EventType type, const EffectControl* control = nullptr);

    // An event record of this window with nothing but its type and control filled in.
    PF_EventExtra Record(PF_EventType type, const EffectControl* control);
    UiEvent Send(PF_EventExtra extra);

  private:
    EffectInstance& effect_;
    UiWindow& window_;
};

}  // namespace quorvel::host
