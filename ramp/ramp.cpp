#include "ramp/ramp.h"

#include <new>

Ramp::Ramp() : points(new RampPoints()) {}

Ramp* Ramp::ConstructAt(void* memory) {
    return new (memory) Ramp();
}

void Ramp::ReleasePoints() {
    delete points;
    points = nullptr;
}
