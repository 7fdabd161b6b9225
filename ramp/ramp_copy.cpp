#include "ramp/ramp_operations.h"

void CopyRamp(const Ramp& source, Ramp* destination) {
    destination->mode = source.mode;
    destination->interpolation = source.interpolation;
    if (source.points == destination->points) {
        return;
    }
    if (source.points == nullptr) {
        destination->points->clear();
    } else {
        *destination->points = *source.points;
    }
}
