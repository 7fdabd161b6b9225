#include <string>

#include <gtest/gtest.h>

#include "host/scene_error.h"
#include "host/scene_file.h"
#include "host/scene_scale.h"

namespace {

using namespace quorvel::host;

TEST(SceneScaleTest, ScalesTheFrameAndEveryMaskCoordinate) {
    Scene scene = ParseScene(R"({"width": 321, "height": 3, "masks": [
        {"vertices": [[10, 20, -2, 4, 6, -8]]},
        {"keyframes": [{"time": 0, "vertices": [[1, 1]]}, {"time": 1, "vertices": [[3, 5]]}]}]})",
                             "s.json");
    ScaleScene(scene, 0.5);
    EXPECT_EQ(scene.width, 161);  // 160.5 rounds away from zero
    EXPECT_EQ(scene.height, 2);
    const SceneVertex& vertex = scene.masks[0].keys[0].vertices[0];
    EXPECT_EQ(vertex.x, 5.0);
    EXPECT_EQ(vertex.y, 10.0);
    EXPECT_EQ(vertex.inX, -1.0);
    EXPECT_EQ(vertex.inY, 2.0);
    EXPECT_EQ(vertex.outX, 3.0);
    EXPECT_EQ(vertex.outY, -4.0);
    EXPECT_EQ(scene.masks[1].keys[1].vertices[0].y, 2.5);

    // A frame never shrinks below a pixel.
    ScaleScene(scene, 0.001);
    EXPECT_EQ(scene.width, 1);
    EXPECT_EQ(scene.height, 1);
}

TEST(SceneScaleTest, RefusesImageLayersAndSizesBeyondTheLimits) {
    Scene image;
    image.layer.testCard = false;
    EXPECT_THROW(ScaleScene(image, 0.5), SceneError);
    Scene card = ParseScene(R"({"width": 1000, "height": 1000})", "s.json");
    EXPECT_THROW(ScaleScene(card, 1e6), SceneError);
    EXPECT_THROW(ScaleScene(card, 0.0), SceneError);
    EXPECT_THROW(ScaleScene(card, 1e300), SceneError);
    EXPECT_EQ(card.width, 1000);
}

}  // namespace
