#pragma once

#include <string>
#include <vector>

#include "host/drawbot_canvas.h"
#include "host/drawbot_objects.h"
#include "host/ui_events.h"
#include "host/ui_window.h"
#include "tests/support/aegp_calls.h"

namespace quorvel::testing {

// The pixels of a canvas whose colour is near (red, green, blue): within tolerance on each
// channel.
struct InkBox {
    int count = 0;
    int left = 0, top = 0, right = -1, bottom = -1;  // inclusive; empty when count is 0
};
InkBox FindInk(const host::DrawbotCanvas& canvas, uint8_t red, uint8_t green, uint8_t blue,
               int tolerance, int left, int top, int right, int bottom);

bool SameColour(const host::CanvasPixel& pixel, uint8_t red, uint8_t green, uint8_t blue,
                int tolerance = 0);

// The operations of one kind that the module drew.
std::vector<host::DrawbotOperation> OperationsOf(host::DrawbotObjects& objects,
                                                 host::DrawbotOperation::Kind kind);

}  // namespace quorvel::testing
