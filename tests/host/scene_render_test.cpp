// Scenes rendered through the module: frames of different times at once, the sink's say over
// the frames not yet started, and the layer from an image file.
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host/image_file.h"
#include "host/scene_error.h"
#include "host/scene_file.h"
#include "host/scene_render.h"
#include "host/scene_scale.h"
#include "host/test_card.h"

namespace {

using namespace quorvel::host;

Scene SmallAnimation() {
    Scene scene = LoadSceneFile(std::string(QUORVEL_SOURCE_DIR) + "/examples/animation.json");
    ScaleScene(scene, 0.25);
    return scene;
}

std::unique_ptr<SceneRenderer> MakeRenderer(const Scene& scene) {
    try {
        return std::make_unique<SceneRenderer>(QUORVEL_MODULE_PATH, scene);
    } catch (const SetupError& error) {
        return nullptr;
    }
}

bool SamePixels(const World& a, const World& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) {
        return false;
    }
    for (A_long y = 0; y < a.Height(); ++y) {
        if (std::memcmp(a.Row(y), b.Row(y), static_cast<std::size_t>(a.Width()) * 4) != 0) {
            return false;
        }
    }
    return true;
}

TEST(SceneRenderTest, FramesOfDifferentTimesAtOnceEqualThoseRenderedOneByOne) {
    const std::vector<double> times = {0.0, 0.48, 1.0, 1.6};
    auto renderer = MakeRenderer(SmallAnimation());
    if (renderer == nullptr) {
        GTEST_SKIP() << "no OpenGL context";
    }
    std::vector<RenderedFrame> alone;
    for (double time : times) {
        alone.push_back(std::move(renderer->Render({time})[0]));
    }
    const std::vector<RenderedFrame> together = renderer->Render(times);
    ASSERT_EQ(together.size(), times.size());
    for (std::size_t i = 0; i < times.size(); ++i) {
        ASSERT_EQ(together[i].result.Err(), PF_Err_NONE);
        EXPECT_EQ(together[i].time, times[i]);
        EXPECT_TRUE(SamePixels(*alone[i].output, *together[i].output)) << "time " << times[i];
    }
    // The animation moves: its frames differ from each other.
    EXPECT_FALSE(SamePixels(*alone[0].output, *alone[1].output));
    EXPECT_EQ(renderer->SetDown(), PF_Err_NONE);
    EXPECT_TRUE(renderer->host().ledger().IsBalanced()) << renderer->host().ledger().Describe();
}

TEST(SceneRenderTest, TheSinkStopsTheFramesNotYetStartedAndItsErrorsArePassedOn) {
    auto renderer = MakeRenderer(SmallAnimation());
    if (renderer == nullptr) {
        GTEST_SKIP() << "no OpenGL context";
    }
    const std::vector<double> times(12, 0.5);
    int taken = 0;
    renderer->RenderEach(times, 2, [&taken](std::size_t, RenderedFrame&) {
        ++taken;
        return false;
    });
    // Only frames started before the first one came back reach the sink, and the sink is
    // asked no more after it said stop.
    EXPECT_EQ(taken, 1);

    taken = 0;
    EXPECT_THROW(renderer->RenderEach(times, 3,
                                      [&taken](std::size_t, RenderedFrame&) -> bool {
                                          ++taken;
                                          throw std::runtime_error("disk full");
                                      }),
                 std::runtime_error);
    EXPECT_EQ(taken, 1);

    std::vector<std::size_t> order;
    renderer->RenderEach({0.0, 0.1, 0.2}, 1, [&order](std::size_t index, RenderedFrame& frame) {
        order.push_back(index);
        return frame.result.Err() == PF_Err_NONE;
    });
    EXPECT_EQ(order, (std::vector<std::size_t>{0, 1, 2}));
}

TEST(SceneRenderTest, AnImageLayerBringsItsSizeOrMustMatchTheScene) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                         ("quorvel_scene_render_" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    // Writing PNG needs no OpenImageIO, reading does: it is loaded only then.
    const auto imageLibraryLoaded = [] {
        std::ifstream maps("/proc/self/maps");
        const std::string text((std::istreambuf_iterator<char>(maps)), {});
        return text.find("libOpenImageIO") != std::string::npos;
    };
    WriteImageFile((folder / "layer.png").string(), *MakeTestCard(Depth::Bits8, 24, 10));
    EXPECT_FALSE(imageLibraryLoaded());
    const std::string path = (folder / "scene.json").string();

    Scene sized = ParseScene(R"({"layer": {"image": "layer.png"}, "depth": 16})", path);
    const std::unique_ptr<World> layer = MakeSceneLayer(sized);
    EXPECT_TRUE(imageLibraryLoaded());
    // A world the host hands to the effect, which it must find again.
    EXPECT_EQ(World::Find(layer->Effect()), layer.get());
    EXPECT_EQ(sized.width, 24);
    EXPECT_EQ(sized.height, 10);
    EXPECT_EQ(layer->PixelDepth(), Depth::Bits16);
    EXPECT_EQ(layer->Pixel(0, 0)[1], 32768.0f);  // the red corner

    Scene mismatched =
        ParseScene(R"({"layer": {"image": "layer.png"}, "width": 20, "height": 10})", path);
    EXPECT_THROW(MakeSceneLayer(mismatched), SceneError);
    // A frame whose two worlds exceed what the host gives a frame is refused before either.
    Scene huge = ParseScene(R"({"width": 16384, "height": 16384})", path);
    EXPECT_THROW(MakeSceneLayer(huge), SceneError);
    std::filesystem::remove_all(folder);
}

}  // namespace
