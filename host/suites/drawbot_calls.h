#pragma once

#include <vector>

#include "host/drawbot_canvas.h"
#include "host/drawbot_objects.h"
#include "host/suites/call_answers.h"
#include "host_api/drawbot.h"

namespace quorvel::host {

// The Drawbot objects of the living host.
DrawbotObjects& TheDrawbotObjects();

// The element list of a path as a Cairo path on context.
void TracePath(cairo_t* context, const std::vector<DrawbotPathElement>& path);

}  // namespace quorvel::host
