#include "render/animation_phase.h"

#include <cmath>

double WrapPhase(double x) {
    if (!std::isfinite(x)) {
        return 0.0;
    }
    const double y = x - std::trunc(x) + 1.0;
    return y - std::trunc(y);
}

double AnimationPhaseAt(bool animate, double manualAnimation, double animationSpeed,
                        A_long currentTime, A_u_long timeScale) {
    double seconds = 0.0;
    if (animate && timeScale != 0) {
        seconds = static_cast<double>(currentTime) / static_cast<double>(timeScale);
    }
    return WrapPhase((manualAnimation * 0.01 + seconds) * animationSpeed * 0.01);
}
