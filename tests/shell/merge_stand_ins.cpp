// Test-only stand-ins for a function that other branches of the module define. It goes as soon
// as its real definition is on main.
#include "host_api/effect.h"
#include "ramp/ramp.h"

// Stand-in for the ramp subsystem's constructor: an empty point map, mode and interpolation
// left alone.
Ramp::Ramp() : points(new RampPoints()) {}
