#pragma once

#include <initializer_list>
#include <utility>

#include "ramp/ramp.h"

// A Ramp that lives outside host memory (on the stack of a tool, a test or a benchmark) and
// gives its point map back when the scope ends.
class ScopedRamp {
  public:
    ScopedRamp(int32_t mode, int32_t interpolation,
               std::initializer_list<std::pair<const float, float>> points = {}) {
        ramp.mode = mode;
        ramp.interpolation = interpolation;
        for (const auto& point : points) {
            (*ramp.points)[point.first] = point.second;
        }
    }
    ~ScopedRamp() { ramp.ReleasePoints(); }
    ScopedRamp(const ScopedRamp&) = delete;
    ScopedRamp& operator=(const ScopedRamp&) = delete;

    Ramp* operator->() { return &ramp; }
    const Ramp* operator->() const { return &ramp; }
    Ramp& operator*() { return ramp; }
    const Ramp& operator*() const { return ramp; }

    Ramp ramp;
};
