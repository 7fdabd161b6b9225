#pragma once

#include <vector>

#include "shell/locked_handle.h"

// The positions of n base points in a row whose spacing shrinks where the ramp is high:
// factor scales the ramp's effect, offset shifts the row (results may leave [0, 1]).
// ramp holds a locked Ramp; a lock that gave nothing raises PF_Err_OUT_OF_MEMORY.
std::vector<double> DistributeBasePoints(int n, const LockedHandle& ramp, double factor,
                                         double offset);
