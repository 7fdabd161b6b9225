#include "host/image.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>

namespace quorvel::host {

namespace {

template <typename Channel>
Channel Quantise(float value, float fullScale) {
    if (!(value > 0.0f)) {
        return 0;
    }
    if (value >= 1.0f) {
        return static_cast<Channel>(fullScale);
    }
    return static_cast<Channel>(std::lround(value * fullScale));
}

template <typename Channel>
Color ReadChannels(const unsigned char* at, float fullScale) {
    Channel channels[4];
    std::memcpy(channels, at, sizeof(channels));
    return {channels[0] / fullScale, channels[1] / fullScale, channels[2] / fullScale,
            channels[3] / fullScale};
}

template <typename Channel>
void WriteChannels(unsigned char* at, const Color& color, float fullScale) {
    const Channel channels[4] = {
        Quantise<Channel>(color.alpha, fullScale), Quantise<Channel>(color.red, fullScale),
        Quantise<Channel>(color.green, fullScale), Quantise<Channel>(color.blue, fullScale)};
    std::memcpy(at, channels, sizeof(channels));
}

}  // namespace

bool IsImageSizeAllowed(long long width, long long height) {
    return width >= 0 && height >= 0 && width <= Image::kMaxSide && height <= Image::kMaxSide &&
           width * height <= Image::kMaxPixels;
}

Image::Image(PixelDepth depth, int width, int height)
    : depth_(depth), width_(width), height_(height) {
    if (!IsImageSizeAllowed(width, height)) {
        throw std::length_error("image size " + std::to_string(width) + " x " +
                                std::to_string(height) + " is not allowed");
    }
    rowBytes_ = static_cast<std::size_t>(width) * BytesPerPixel(depth);
    bytes_.assign(rowBytes_ * static_cast<std::size_t>(height), 0);
}

Color Image::Pixel(int x, int y) const {
    const unsigned char* at = Row(y) + static_cast<std::size_t>(x) * BytesPerPixel(depth_);
    switch (depth_) {
        case PixelDepth::Eight:
            return ReadChannels<std::uint8_t>(at, FullScale(depth_));
        case PixelDepth::Sixteen:
            return ReadChannels<std::uint16_t>(at, FullScale(depth_));
        case PixelDepth::Float:
            break;
    }
    return ReadChannels<float>(at, 1.0f);
}

void Image::SetPixel(int x, int y, const Color& color) {
    unsigned char* at = Row(y) + static_cast<std::size_t>(x) * BytesPerPixel(depth_);
    switch (depth_) {
        case PixelDepth::Eight:
            WriteChannels<std::uint8_t>(at, color, FullScale(depth_));
            return;
        case PixelDepth::Sixteen:
            WriteChannels<std::uint16_t>(at, color, FullScale(depth_));
            return;
        case PixelDepth::Float:
            break;
    }
    const float channels[4] = {color.alpha, color.red, color.green, color.blue};
    std::memcpy(at, channels, sizeof(channels));
}

}  // namespace quorvel::host
