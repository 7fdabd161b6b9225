#include "tests/support/ui_host.h"

#include <cstdlib>

namespace quorvel::testing {

bool SameColour(const host::CanvasPixel& pixel, uint8_t red, uint8_t green, uint8_t blue,
                int tolerance) {
    return std::abs(pixel.red - red) <= tolerance && std::abs(pixel.green - green) <= tolerance &&
           std::abs(pixel.blue - blue) <= tolerance;
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
