#pragma once

#include "host_api/effect.h"

// x - floor(x), computed as the renderer has always computed it: y = x - trunc(x) + 1, then
// y - trunc(y). A value that is not finite gives 0.
double WrapPhase(double x);

// The animation phase in [0, 1): (manual x 0.01 + seconds) x speed x 0.01, wrapped, where
// seconds is the frame's time when animate is on, else 0.
double AnimationPhaseAt(bool animate, double manualAnimation, double animationSpeed,
                        A_long currentTime, A_u_long timeScale);
