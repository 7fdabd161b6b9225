#pragma once

#include <memory>

#include "host/world.h"

namespace quorvel::host {

// The built-in layer picture, so that a scene needs no image file: a colour wheel across the
// width darkening downwards, a checkerboard with grid lines, a circle with a cross at the
// centre and a coloured square in each corner (red top left, green top right, blue bottom
// left, white bottom right), opaque. Every distortion, flip or shift of the layer shows in
// it. Made from integer arithmetic and plain products only, so it is the same on every
// machine.
std::unique_ptr<World> MakeTestCard(Depth depth, A_long width, A_long height);

}  // namespace quorvel::host
