#pragma once

#include <string>
#include <vector>

#include "host/drawbot_canvas.h"
#include "host/drawbot_objects.h"
#include "host/ui_events.h"
#include "host/ui_window.h"
#include "tests/support/aegp_calls.h"

namespace quorvel::testing {

// Within tolerance of (red, green, blue) on each channel.
bool SameColour(const host::CanvasPixel& pixel, uint8_t red, uint8_t green, uint8_t blue,
                int tolerance = 0);

// The operations of one kind that the module drew.
std::vector<host::DrawbotOperation> OperationsOf(host::DrawbotObjects& objects,
                                                 host::DrawbotOperation::Kind kind);

}  // namespace quorvel::testing
