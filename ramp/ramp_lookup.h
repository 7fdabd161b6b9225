#pragma once

#include "ramp/ramp.h"

// values[i] = ramp.Evaluate(i / (count - 1)) for i = 0 .. count - 1 (value 0 alone when count
// is 1), the same numbers to the bit, without searching the map for every sample and, for
// Bezier, without recomputing a segment's shape. Allocates nothing.
void FillRampLookup(const Ramp& ramp, float* values, int count);
