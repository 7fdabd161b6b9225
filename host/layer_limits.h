#pragma once

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

}  // namespace quorvel::host
