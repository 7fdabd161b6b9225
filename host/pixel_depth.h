#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace quorvel::host {

// The host's three colour depths. Channel ranges follow the host: 8-bit 0 to 255, 16-bit
// 0 to 32768 (not 65535), float with 1.0 as full scale and values above it kept.
enum class PixelDepth { Eight, Sixteen, Float };

// Bytes of one pixel (four channels) in the given depth.
std::size_t BytesPerPixel(PixelDepth depth);

// Full-scale channel value: 255, 32768 or 1.
float FullScale(PixelDepth depth);

// "8", "16", "32"; "float" is accepted as another word for 32.
std::optional<PixelDepth> ParsePixelDepth(const std::string& text);
const char* PixelDepthName(PixelDepth depth);

}  // namespace quorvel::host
