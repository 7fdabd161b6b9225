#include "host/test_card.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

#include "host/parallel.h"

namespace quorvel::host {

namespace {

struct Rgb {
    float red;
    float green;
    float blue;
};

struct CornerMarker {
    bool right;
    bool bottom;
    Rgb color;
};

constexpr CornerMarker kCornerMarkers[] = {
    {false, false, {1.0f, 0.0f, 0.0f}},
    {true, false, {0.0f, 1.0f, 0.0f}},
    {false, true, {0.0f, 0.0f, 1.0f}},
    {true, true, {1.0f, 1.0f, 1.0f}},
};

constexpr Rgb kGridLine = {0.95f, 0.95f, 0.95f};
constexpr Rgb kCircle = {1.0f, 1.0f, 1.0f};
constexpr Rgb kCross = {0.0f, 0.0f, 0.0f};

// A fully saturated hue, piecewise linear around the wheel (h in [0, 1)).
Rgb Hue(float h) {
    const float sector = h * 6.0f;
    const int index = std::min(5, static_cast<int>(sector));
    const float rising = sector - static_cast<float>(index);
    const float falling = 1.0f - rising;
    switch (index) {
        case 0:
            return {1.0f, rising, 0.0f};
        case 1:
            return {falling, 1.0f, 0.0f};
        case 2:
            return {0.0f, 1.0f, rising};
        case 3:
            return {0.0f, falling, 1.0f};
        case 4:
            return {rising, 0.0f, 1.0f};
        default:
            return {1.0f, 0.0f, falling};
    }
}

// The background's colour before brightness: the hue of the column at half saturation.
Rgb ColumnColor(int x, int width) {
    const float u = (static_cast<float>(x) + 0.5f) / static_cast<float>(width);
    const Rgb hue = Hue(u);
    return {0.5f + 0.5f * hue.red, 0.5f + 0.5f * hue.green, 0.5f + 0.5f * hue.blue};
}

// Brightness from 0.9 at the top to 0.35 at the bottom, a checkerboard of cells over it.
Rgb Background(const Rgb& column, int x, int y, int height, int cell) {
    const float v = (static_cast<float>(y) + 0.5f) / static_cast<float>(height);
    const float brightness = 0.9f - 0.55f * v;
    const float checker = ((x / cell + y / cell) % 2 == 0) ? 1.0f : 0.8f;
    const float scale = brightness * checker;
    return {column.red * scale, column.green * scale, column.blue * scale};
}

const CornerMarker* MarkerAt(int x, int y, int width, int height, int cell) {
    for (const CornerMarker& marker : kCornerMarkers) {
        const int left = marker.right ? width - cell : 0;
        const int top = marker.bottom ? height - cell : 0;
        if (x >= left && x < left + cell && y >= top && y < top + cell) {
            return &marker;
        }
    }
    return nullptr;
}

// Whether (x, y) lies on the circle around the centre: compared in doubled coordinates so
// that the centre of an even-sized card lies between pixels.
bool OnCircle(int x, int y, int width, int height, int thickness) {
    const long long dx = 2LL * x + 1 - width;
    const long long dy = 2LL * y + 1 - height;
    const long long radius = std::min(width, height) * 7LL / 10;
    const long long inner = radius - thickness;
    const long long outer = radius + thickness;
    const long long distance = dx * dx + dy * dy;
    return distance >= inner * inner && distance <= outer * outer;
}

bool OnCross(int x, int y, int width, int height) {
    const int halfLength = std::min(width, height) / 8;
    const int centreX = width / 2;
    const int centreY = height / 2;
    return (x == centreX && std::abs(y - centreY) <= halfLength) ||
           (y == centreY && std::abs(x - centreX) <= halfLength);
}

// The card's colour at (x, y): what is drawn last wins.
Rgb CardColor(const Rgb& column, int x, int y, int width, int height, int cell, int thickness) {
    Rgb rgb = Background(column, x, y, height, cell);
    if (x % cell == 0 || y % cell == 0) {
        rgb = kGridLine;
    }
    if (OnCircle(x, y, width, height, thickness)) {
        rgb = kCircle;
    }
    if (OnCross(x, y, width, height)) {
        rgb = kCross;
    }
    if (const CornerMarker* marker = MarkerAt(x, y, width, height, cell)) {
        rgb = marker->color;
    }
    return rgb;
}

}  // namespace

std::unique_ptr<World> MakeTestCard(Depth depth, A_long width, A_long height) {
    auto card = std::make_unique<World>(depth, width, height, 0, Pixels::Unset);
    const float white = WhiteOf(depth);
    const int cell = std::max(4, std::min(width, height) / 9);
    const int thickness = std::max(1, cell / 10);
    std::vector<Rgb> columns(static_cast<std::size_t>(width));
    for (int x = 0; x < width; ++x) {
        columns[static_cast<std::size_t>(x)] = ColumnColor(x, width);
    }
    // Every pixel is written, in bands of rows on every core.
    constexpr int kBandRows = 16;
    const auto drawBand = [&](std::size_t band) {
        const int first = static_cast<int>(band) * kBandRows;
        for (int y = first; y < std::min(height, first + kBandRows); ++y) {
            for (int x = 0; x < width; ++x) {
                const Rgb rgb = CardColor(columns[static_cast<std::size_t>(x)], x, y, width, height,
                                          cell, thickness);
                card->SetPixel(x, y, {white, rgb.red * white, rgb.green * white, rgb.blue * white});
            }
        }
    };
    ParallelFor(static_cast<std::size_t>((height + kBandRows - 1) / kBandRows), drawBand);
    return card;
}

}  // namespace quorvel::host
