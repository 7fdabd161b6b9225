#pragma once

#include "ramp/ramp.h"

// Operations between whole ramp values, as the host's arbitrary-data requests need them. The
// ramps written to hold their own point maps, distinct from the ramps read.

// Deep copy: the destination takes mode, interpolation and a copy of the source's points.
void CopyRamp(const Ramp& source, Ramp* destination);

// The value between two keyframes at fraction (0 at left, 1 at right): the i-th points of both
// sides blended key by key, the side with fewer points repeating its last one; an empty side
// counts as the value 1.0. Mode and interpolation are always the left's.
void InterpolateRamps(const Ramp& left, const Ramp& right, double fraction, Ramp* result);

// Same mode, interpolation and keys, and values within 0.0001 of each other.
bool RampsEqual(const Ramp& a, const Ramp& b);
