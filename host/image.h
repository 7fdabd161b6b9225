#pragma once

#include <cstddef>
#include <vector>

#include "host/pixel_depth.h"

namespace quorvel::host {

// One pixel with channels scaled so that 1.0 is the depth's full scale, in the host's
// channel order.
struct Color {
    float alpha;
    float red;
    float green;
    float blue;
};

// An image held in memory the way the host holds a layer: rows from top to bottom, four
// channels per pixel in the order alpha, red, green, blue, colour not premultiplied, in one
// of the three depths. Rows are packed without padding.
class Image {
  public:
    // The largest side and pixel count accepted, so that sizes never overflow and an absurd
    // request fails with a message instead of exhausting memory.
    static constexpr long long kMaxSide = 1 << 20;
    static constexpr long long kMaxPixels = 1LL << 28;

    Image() = default;
    // A transparent black image; throws std::length_error for a negative or too large size.
    Image(PixelDepth depth, int width, int height);

    PixelDepth Depth() const { return depth_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    std::size_t RowBytes() const { return rowBytes_; }

    unsigned char* Row(int y) { return bytes_.data() + static_cast<std::size_t>(y) * rowBytes_; }
    const unsigned char* Row(int y) const {
        return bytes_.data() + static_cast<std::size_t>(y) * rowBytes_;
    }

    // Reads a pixel with 1.0 as full scale.
    Color Pixel(int x, int y) const;
    // Writes a pixel given with 1.0 as full scale: rounded to the nearest step and clamped to
    // the channel's range in 8 and 16 bits (NaN becomes 0), stored unchanged in float.
    void SetPixel(int x, int y, const Color& color);

  private:
    PixelDepth depth_ = PixelDepth::Eight;
    int width_ = 0;
    int height_ = 0;
    std::size_t rowBytes_ = 0;
    std::vector<unsigned char> bytes_;
};

// Whether a width and height are within Image's limits.
bool IsImageSizeAllowed(long long width, long long height);

}  // namespace quorvel::host
