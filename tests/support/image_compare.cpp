#include "tests/support/image_compare.h"

#include <algorithm>
#include <cmath>
#include <sstream>

namespace test_support {

ImageDifference CompareImages(const quorvel::host::Image& expected,
                              const quorvel::host::Image& actual, float tolerance) {
    ImageDifference difference;
    difference.sameSize =
        expected.Width() == actual.Width() && expected.Height() == actual.Height();
    if (!difference.sameSize) {
        return difference;
    }
    double sum = 0.0;
    for (int y = 0; y < expected.Height(); ++y) {
        for (int x = 0; x < expected.Width(); ++x) {
            const quorvel::host::Color e = expected.Pixel(x, y);
            const quorvel::host::Color a = actual.Pixel(x, y);
            const float channels[4] = {std::abs(e.alpha - a.alpha), std::abs(e.red - a.red),
                                       std::abs(e.green - a.green), std::abs(e.blue - a.blue)};
            float largest = 0.0f;
            for (float channel : channels) {
                // NaN counts as the largest possible difference.
                largest = std::isnan(channel) ? INFINITY : std::max(largest, channel);
                sum += channel;
            }
            difference.largest = std::max(difference.largest, largest);
            difference.pixelsBeyondTolerance += largest > tolerance;
            ++difference.pixels;
        }
    }
    difference.mean = difference.pixels == 0 ? 0.0 : sum / (4.0 * difference.pixels);
    return difference;
}

std::string Describe(const ImageDifference& difference) {
    if (!difference.sameSize) {
        return "the images differ in size";
    }
    std::ostringstream text;
    text << difference.pixelsBeyondTolerance << " of " << difference.pixels
         << " pixels beyond the tolerance, largest difference " << difference.largest
         << ", mean difference " << difference.mean;
    return text.str();
}

}  // namespace test_support
