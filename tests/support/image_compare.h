#pragma once

#include <string>

#include "host/world.h"

namespace quorvel::testing {

// How far one world is from another, channel by channel, with the depth's full scale as 1.
struct WorldDifference {
    bool sameShape = false;
    float largest = 0.0f;
    double mean = 0.0;
    // Pixels with a channel that differs by more than the tolerance.
    long long pixelsBeyondTolerance = 0;
    long long pixels = 0;
};

WorldDifference CompareWorlds(const host::World& expected, const host::World& actual,
                              float tolerance);

std::string Describe(const WorldDifference& difference);

}  // namespace quorvel::testing
