#include "tests/support/image_compare.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <sstream>

namespace quorvel::testing {

WorldDifference CompareWorlds(const host::World& expected, const host::World& actual,
                              float tolerance) {
    WorldDifference difference;
    difference.sameShape = expected.Width() == actual.Width() &&
                           expected.Height() == actual.Height() &&
                           expected.PixelDepth() == actual.PixelDepth();
    if (!difference.sameShape) {
        return difference;
    }
    const float white = host::WhiteOf(expected.PixelDepth());
    double sum = 0.0;
    for (A_long y = 0; y < expected.Height(); ++y) {
        for (A_long x = 0; x < expected.Width(); ++x) {
            const host::PixelValue e = expected.Pixel(x, y);
            const host::PixelValue a = actual.Pixel(x, y);
            float largest = 0.0f;
            for (int c = 0; c < 4; ++c) {
                const float channel = std::abs(e[c] - a[c]) / white;
                // NaN counts as the largest possible difference.
                largest = std::isnan(channel) ? std::numeric_limits<float>::infinity()
                                              : std::max(largest, channel);
                sum += std::isnan(channel) ? 1.0 : channel;
            }
            difference.largest = std::max(difference.largest, largest);
            difference.pixelsBeyondTolerance += largest > tolerance;
            ++difference.pixels;
        }
    }
    difference.mean = difference.pixels == 0 ? 0.0 : sum / (4.0 * difference.pixels);
    return difference;
}

std::string Describe(const WorldDifference& difference) {
    if (!difference.sameShape) {
        return "the worlds differ in size or depth";
    }
    std::ostringstream text;
    text << difference.pixelsBeyondTolerance << " of " << difference.pixels
         << " pixels beyond the tolerance, largest difference " << difference.largest
         << ", mean difference " << difference.mean;
    return text.str();
}

}  // namespace quorvel::testing
