#pragma once

#include "host/drawbot_canvas.h"
#include "host_api/effect.h"

namespace quorvel::host {

// Where a composition or layer window shows things. Layer coordinates become composition
// coordinates through the layer's place and scale (layer_to_comp); composition coordinates in
// a composition window, or layer coordinates in a layer window, become window pixels through
// the view's zoom and pan (source_to_frame).
struct UiView {
    double layerX = 0;  // the composition point of the layer's origin
    double layerY = 0;
    double layerScale = 1;
    double zoom = 1;
    double panX = 0;  // the window pixel of the source's origin
    double panY = 0;
};

// A window of the host in which the effect's custom UI gets events and draws: its context
// (what an event's contextH leads to), its canvas and, for composition and layer windows, its
// view. Lives inside a Host.
class UiWindow {
  public:
    UiWindow(PF_WindowType type, int width, int height,
             const DrawbotSupplierSettings& settings = {});
    ~UiWindow();
    UiWindow(const UiWindow&) = delete;
    UiWindow& operator=(const UiWindow&) = delete;

    // The window that context belongs to; null for any other.
    static UiWindow* FromContext(PF_ContextH context);

    PF_WindowType Type() const { return context_.w_type; }
    PF_ContextH Context() { return &contextPointer_; }
    DrawbotCanvas& canvas() { return canvas_; }

    UiView view;
    // False: the window has nothing to draw on, and PF_GetDrawingReference hands out null.
    bool drawable = true;
    // How often the module called the coordinate callbacks of this window's events.
    int layerToCompCalls = 0;
    int sourceToFrameCalls = 0;

  private:
    PF_Context context_;
    PF_Context* contextPointer_;
    DrawbotCanvas canvas_;
};

}  // namespace quorvel::host
