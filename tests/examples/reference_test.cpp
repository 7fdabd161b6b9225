// The example scenes rendered through the module in every depth, compared with the reference
// images beside this file, so that any change of the look is seen. update_references.sh
// renders the references again with the tool, after a change of the look that is meant.
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "host/image_file.h"
#include "host/scene_file.h"
#include "host/scene_render.h"
#include "host/scene_scale.h"
#include "tests/support/image_compare.h"

namespace quorvel::testing {
namespace {

namespace fs = std::filesystem;

struct ExampleFrame {
    const char* scene;
    // The frame compared: an animated example at a moment where things move.
    int frame;
};

constexpr ExampleFrame kExamples[] = {
    {"default_look", -1}, {"strips_wireframe", -1}, {"animation", 12}, {"noise_distortion", -1}};

struct DepthCase {
    host::Depth depth;
    const char* extension;
};

constexpr DepthCase kDepths[] = {
    {host::Depth::Bits8, "png"}, {host::Depth::Bits16, "png"}, {host::Depth::Float, "exr"}};

// The references are at half the examples' size, which keeps the files small.
constexpr double kScale = 0.5;

// One step of 8 bits per channel; a pixel beyond it is a changed pixel. A few may differ where
// rasterisation rounds an edge the other way.
constexpr float kTolerance = 2.0f / 255.0f;
constexpr double kChangedPixelsAllowed = 0.002;
constexpr double kMeanDifferenceAllowed = 0.002;

TEST(ExampleReferences, EveryExampleLooksAsItsReferenceInEveryDepth) {
    const fs::path failures = fs::path(QUORVEL_BINARY_DIR) / "reference_failures";
    for (const ExampleFrame& example : kExamples) {
        // The renders of the example in each depth, in the order of kDepths.
        std::vector<std::unique_ptr<host::World>> renders;
        for (const DepthCase& depth : kDepths) {
            const std::string reference = std::string(QUORVEL_SOURCE_DIR) +
                                          "/tests/examples/reference/" + example.scene + "_" +
                                          host::DepthName(depth.depth) + "." + depth.extension;
            SCOPED_TRACE(reference);
            host::Scene scene = host::LoadSceneFile(std::string(QUORVEL_SOURCE_DIR) + "/examples/" +
                                                    example.scene + ".json");
            scene.depth = depth.depth;
            host::ScaleScene(scene, kScale);
            const double time = example.frame >= 0 ? example.frame / scene.frameRate : scene.time;
            std::unique_ptr<host::SceneRenderer> renderer;
            try {
                renderer = std::make_unique<host::SceneRenderer>(QUORVEL_MODULE_PATH, scene);
            } catch (const host::SetupError& error) {
                GTEST_SKIP() << "no OpenGL context: " << error.what();
            }
            std::vector<host::RenderedFrame> frames = renderer->Render({time});
            ASSERT_EQ(frames[0].result.Err(), PF_Err_NONE) << frames[0].result.message;
            ASSERT_EQ(renderer->SetDown(), PF_Err_NONE);
            EXPECT_TRUE(renderer->host().ledger().IsBalanced())
                << renderer->host().ledger().Describe();

            const auto expected = host::ReadImageFile(reference, depth.depth);
            const WorldDifference difference =
                CompareWorlds(*expected, *frames[0].output, kTolerance);
            const bool same =
                difference.sameShape &&
                difference.pixelsBeyondTolerance <= kChangedPixelsAllowed * difference.pixels &&
                difference.mean <= kMeanDifferenceAllowed;
            if (!same) {
                fs::create_directories(failures);
                const std::string actual = (failures / fs::path(reference).filename()).string();
                host::WriteImageFile(actual, *frames[0].output);
                ADD_FAILURE() << Describe(difference) << "; this render is in " << actual;
            }
            renders.push_back(std::move(frames[0].output));
        }
        // The depths differ only by their steps: 8 and 16 bits agree with float.
        const host::World& floating = *renders.back();
        for (std::size_t i = 0; i + 1 < renders.size(); ++i) {
            host::World asFloat(host::Depth::Float, floating.Width(), floating.Height());
            const float white = host::WhiteOf(renders[i]->PixelDepth());
            for (A_long y = 0; y < floating.Height(); ++y) {
                for (A_long x = 0; x < floating.Width(); ++x) {
                    host::PixelValue value = renders[i]->Pixel(x, y);
                    for (float& channel : value) {
                        channel /= white;
                    }
                    asFloat.SetPixel(x, y, value);
                }
            }
            const WorldDifference difference = CompareWorlds(floating, asFloat, kTolerance);
            EXPECT_EQ(difference.pixelsBeyondTolerance, 0)
                << example.scene << " in " << host::DepthName(kDepths[i].depth)
                << " bits against float: " << Describe(difference);
        }
    }
}

}  // namespace
}  // namespace quorvel::testing
