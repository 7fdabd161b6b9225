#include "tests/support/ui_host.h"

#include <algorithm>
#include <cstdlib>

namespace quorvel::testing {

bool SameColour(const host::CanvasPixel& pixel, uint8_t red, uint8_t green, uint8_t blue,
                int tolerance) {
    return std::abs(pixel.red - red) <= tolerance && std::abs(pixel.green - green) <= tolerance &&
           std::abs(pixel.blue - blue) <= tolerance;
}

InkBox FindInk(const host::DrawbotCanvas& canvas, uint8_t red, uint8_t green, uint8_t blue,
               int tolerance, int left, int top, int right, int bottom) {
    InkBox box;
    for (int y = std::max(top, 0); y <= std::min(bottom, canvas.Height() - 1); ++y) {
        for (int x = std::max(left, 0); x <= std::min(right, canvas.Width() - 1); ++x) {
            if (!SameColour(canvas.Pixel(x, y), red, green, blue, tolerance)) {
                continue;
            }
            if (box.count++ == 0) {
                box.left = box.right = x;
                box.top = box.bottom = y;
            }
            box.left = std::min(box.left, x);
            box.right = std::max(box.right, x);
            box.top = std::min(box.top, y);
            box.bottom = std::max(box.bottom, y);
        }
    }
    return box;
}

std::vector<host::DrawbotOperation> OperationsOf(host::DrawbotObjects& objects,
                                                 host::DrawbotOperation::Kind kind) {
    std::vector<host::DrawbotOperation> found;
    for (const host::DrawbotOperation& operation : objects.Operations()) {
        if (operation.kind == kind) {
            found.push_back(operation);
        }
    }
    return found;
}

}  // namespace quorvel::testing
