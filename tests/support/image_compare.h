#pragma once

#include <string>

#include "host/image.h"

namespace test_support {

// How far one image is from another, channel by channel, with 1.0 as full scale.
struct ImageDifference {
    bool sameSize = false;
    float largest = 0.0f;
    double mean = 0.0;
    // Pixels with a channel that differs by more than the tolerance.
    long long pixelsBeyondTolerance = 0;
    long long pixels = 0;
};

ImageDifference CompareImages(const quorvel::host::Image& expected,
                              const quorvel::host::Image& actual, float tolerance);

std::string Describe(const ImageDifference& difference);

}  // namespace test_support
