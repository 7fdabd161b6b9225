#pragma once

#include <cstddef>

#include "host_api/drawbot.h"
#include "host_api/suites.h"

// A colour of the host's interface (16 bits a channel, 65535 being full) as the RGBA floats
// that Drawbot and OpenGL take, opaque.
DRAWBOT_ColorRGBA FromAppColor(const PF_App_Color& colour);

// The four channels lie one after the other, so &colour.red serves where OpenGL asks for four
// floats.
static_assert(sizeof(DRAWBOT_ColorRGBA) == 4 * sizeof(float) &&
                  offsetof(DRAWBOT_ColorRGBA, alpha) == 3 * sizeof(float),
              "a colour is four packed floats");
