#pragma once

#include <string>

#include "host/world.h"

namespace quorvel::host {

// The largest layer the host makes from a scene or an image file: sides up to 2^20 pixels and
// 2^28 pixels in all, so that sizes never overflow and an absurd request fails with a message
// instead of exhausting memory. Sides of 65536 and more are allowed, since the effect must
// refuse them itself.
constexpr long long kMaxLayerSide = 1LL << 20;
constexpr long long kMaxLayerPixels = 1LL << 28;

inline bool IsLayerSizeAllowed(long long width, long long height) {
    return width >= 1 && height >= 1 && width <= kMaxLayerSide && height <= kMaxLayerSide &&
           width * height <= kMaxLayerPixels;
}

// The memory the host gives one frame: its two worlds, the layer and the output, together. A
// frame beyond it is refused before either world is made, rather than after gigabytes were
// spent on a size that the effect may refuse anyway. An image file's pixels as stored are
// held to it too, whatever the reader decodes at once.
constexpr long long kMaxFrameBytes = 1LL << 30;

inline long long Mebibytes(long long bytes) {
    return (bytes + (1LL << 20) - 1) >> 20;
}

// Why a frame of this size (within the layer limits) does not fit in the frame's memory;
// empty when it does.
inline std::string FrameMemoryProblem(long long width, long long height, Depth depth) {
    const long long bytes = 2 * width * height * static_cast<long long>(BytesPerPixelOf(depth));
    if (bytes <= kMaxFrameBytes) {
        return std::string();
    }
    return "a frame of " + std::to_string(width) + " x " + std::to_string(height) + " at " +
           std::to_string(BytesPerPixelOf(depth)) + " bytes a pixel needs " +
           std::to_string(Mebibytes(bytes)) + " MiB for its layer and output, more than the " +
           std::to_string(Mebibytes(kMaxFrameBytes)) + " MiB the host gives a frame";
}

}  // namespace quorvel::host
