#include "host/pixel_depth.h"

namespace quorvel::host {

namespace {

struct DepthRow {
    PixelDepth depth;
    const char* name;
    std::size_t bytesPerPixel;
    float fullScale;
};

constexpr DepthRow kDepths[] = {
    {PixelDepth::Eight, "8", 4, 255.0f},
    {PixelDepth::Sixteen, "16", 8, 32768.0f},
    {PixelDepth::Float, "32", 16, 1.0f},
};

const DepthRow& RowOf(PixelDepth depth) {
    for (const DepthRow& row : kDepths) {
        if (row.depth == depth) {
            return row;
        }
    }
    return kDepths[0];
}

}  // namespace

std::size_t BytesPerPixel(PixelDepth depth) {
    return RowOf(depth).bytesPerPixel;
}

float FullScale(PixelDepth depth) {
    return RowOf(depth).fullScale;
}

const char* PixelDepthName(PixelDepth depth) {
    return RowOf(depth).name;
}

std::optional<PixelDepth> ParsePixelDepth(const std::string& text) {
    if (text == "float") {
        return PixelDepth::Float;
    }
    for (const DepthRow& row : kDepths) {
        if (text == row.name) {
            return row.depth;
        }
    }
    return std::nullopt;
}

}  // namespace quorvel::host
