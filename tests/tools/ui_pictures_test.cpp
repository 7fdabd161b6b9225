// The pictures of the custom UI drawn from a scene: its ramp values in the editors, its masks'
// names at their first vertices as they are at the scene's time, in the masks' colours.
#include "tools/ui_pictures.h"

#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "host/image_file.h"
#include "host/scene_render.h"
#include "tests/support/temp_folder.h"

namespace {

using quorvel::host::Depth;
using quorvel::host::World;

struct Rgb {
    int r, g, b;
};

// Within tolerance on every channel: the editors' colours go through floats to bytes.
bool Near(const World& image, int x, int y, Rgb colour, int tolerance) {
    const quorvel::host::PixelValue p = image.Pixel(x, y);  // A, R, G, B
    return std::abs(static_cast<int>(p[1]) - colour.r) <= tolerance &&
           std::abs(static_cast<int>(p[2]) - colour.g) <= tolerance &&
           std::abs(static_cast<int>(p[3]) - colour.b) <= tolerance;
}

// Pixels of a box (inclusive corners) within 40 of a colour.
int CountNear(const World& image, int left, int top, int right, int bottom, Rgb colour) {
    int count = 0;
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x) {
            count += Near(image, x, y, colour, 40) ? 1 : 0;
        }
    }
    return count;
}

// The host's interface colours that the ramp editors draw with.
constexpr Rgb kEditorBackground = {0x23, 0x23, 0x23};
constexpr Rgb kCurve = {0xE8, 0xB0, 0x10};
constexpr Rgb kBelowCurve = {0x3A, 0x4A, 0x5E};
// The colours the host gives the first two masks.
constexpr Rgb kFirstMask = {255, 217, 51};
constexpr Rgb kSecondMask = {77, 204, 255};

using UiPicturesTest = quorvel::testing::TempFolderTest;

TEST_F(UiPicturesTest, DrawsTheScenesRampsAndMaskNames) {
    int result = -1;
    try {
        result = DrawUiPictures(QUORVEL_MODULE_PATH, folder_.string(),
                                std::string(QUORVEL_SOURCE_DIR) + "/examples/ui_pictures.json");
    } catch (const quorvel::host::SetupError& error) {
        GTEST_SKIP() << "no OpenGL context: " << error.what();
    }
    ASSERT_EQ(0, result);
    const auto read = [this](const char* name) {
        return quorvel::host::ReadImageFile(File(name), Depth::Bits8);
    };
    const auto controls = read("effect-controls.png");
    const auto composition = read("composition.png");
    const auto layer = read("layer.png");

    // "Opacity Across Ramp", the eighth editor (middle of the bottom row, frame from (174, 316)),
    // is held at 0.25 by the scene: its curve runs on row (1 - 0.25) x 128 = 96 of the plot
    // that starts 6 pixels inside the frame, where the initial curve (1) would lie on row 0.
    const int plotLeft = 174 + 6;
    const int plotTop = 316 + 6;
    for (int column : {20, 110}) {
        SCOPED_TRACE(column);
        EXPECT_TRUE(Near(*controls, plotLeft + column, plotTop + 96, kCurve, 1));
        EXPECT_TRUE(Near(*controls, plotLeft + column, plotTop + 95, kEditorBackground, 0));
        EXPECT_TRUE(Near(*controls, plotLeft + column, plotTop + 97, kBelowCurve, 0));
    }
    // "Quorvel Ramp", the third editor (frame from (336, 12)): the scene's sine bump is at the
    // top in the middle and at the bottom at both ends.
    EXPECT_TRUE(Near(*controls, 336 + 6 + 69, 12 + 6, kCurve, 1));
    EXPECT_TRUE(Near(*controls, 336 + 6 + 20, 12 + 6 + 20, kEditorBackground, 0));

    // The composition window shows the layer from (80, 45). At 0.5 s "Brow" starts at (60, 80)
    // (halfway between its keys), so its name stands above and right of (140, 125); "Chin"
    // starts at (50, 200), its name above and right of (130, 245).
    EXPECT_GE(CountNear(*composition, 141, 112, 175, 123, kFirstMask), 15);
    EXPECT_GE(CountNear(*composition, 131, 232, 162, 243, kSecondMask), 15);
    // Nothing where the name would stand at the first key's place (0 s: y 105).
    EXPECT_EQ(0, CountNear(*composition, 141, 92, 175, 103, kFirstMask));

    // The layer window: zoom 1.25 and pan (20, 10) put "Brow" at (95, 110).
    EXPECT_GE(CountNear(*layer, 96, 97, 130, 108, kFirstMask), 15);
}

}  // namespace
