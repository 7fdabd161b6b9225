#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "host/scene_error.h"
#include "host/scene_file.h"
#include "tests/support/error_message.h"
#include "tools/render_options.h"

namespace {

using namespace quorvel::host;
using quorvel::testing::MessageOf;

// The scene, -o, --frames, --module, --compression and --ui reach the tool's own runs.
TEST(RenderOptionsTest, ReadsEveryOption) {
    const RenderOptions options = ParseRenderOptions(
        {"s.json", "--depth", "float", "--threads", "4", "--output", "o.exr", "--time", "1.25"});
    EXPECT_EQ(Depth::Float, options.depth.value());
    EXPECT_EQ(4, options.threads);
    EXPECT_EQ("o.exr", options.outputPath);
    EXPECT_DOUBLE_EQ(1.25, options.time.value());
    EXPECT_EQ(1, ParseRenderOptions({"s.json", "-o", "x.png"}).threads);
}

TEST(RenderOptionsTest, RejectsBadCommandLines) {
    struct Case {
        std::vector<std::string> arguments;
        const char* message;
    };
    const Case cases[] = {
        {{}, "no scene given"},
        {{"s.json"}, "no output image given"},
        {{"s.json", "t.json", "-o", "x.png"}, "more than one scene"},
        {{"s.json", "-o"}, "-o needs a value (FILE)"},
        {{"s.json", "-o", "x.png", "--fast"}, "unknown option '--fast'"},
        {{"s.json", "-o", "x.png", "--time", "-1"}, "--time expects seconds from 0 to 86400"},
        {{"s.json", "-o", "x.png", "--time", "1s"}, "--time expects seconds"},
        {{"s.json", "-o", "x.png", "--frame", "x"}, "--frame expects a whole number"},
        {{"s.json", "-o", "x.png", "--frames", "5"}, "--frames expects a range A-B"},
        {{"s.json", "-o", "x.png", "--frames", "5-4"}, "A not above B"},
        {{"s.json", "-o", "x.png", "--frames", "-4-5"}, "--frames expects a whole number"},
        {{"s.json", "-o", "x.png", "--threads", "0"}, "--threads expects a whole number from 1"},
        {{"s.json", "-o", "x.png", "--threads", "99999999999999999999"}, "--threads expects"},
        {{"s.json", "-o", "x.png", "--time", "1", "--frame", "2"}, "give only one of --time"},
        {{"s.json", "-o", "x.jpg"}, "must end in .png, .tif, .tiff or .exr, not 'x.jpg'"},
        {{"s.json", "-o", "x.png", "--scale", "0"}, "--scale expects a factor above 0"},
        {{"s.json", "-o", "x.png", "--scale", "nan"}, "--scale expects a factor above 0"},
        {{"s.json", "-o", "x.png", "--compression", "zip"}, "--compression expects fast, small"},
        {{"s.json", "--ui", "p", "-o", "x.png"}, "--ui draws the interface and renders no image"},
        {{"s.json", "--ui", "p", "--frame", "2"}, "--ui draws the interface and renders no image"},
    };
    for (const Case& c : cases) {
        const std::string message = MessageOf<UsageError>([&] { ParseRenderOptions(c.arguments); });
        EXPECT_NE(std::string::npos, message.find(c.message)) << message;
    }
}

TEST(RenderOptionsTest, WarnsOfMasksThatNoMaskParameterNames) {
    const std::string masks = R"({"width": 4, "height": 4, "masks": [
        {"name": "A", "vertices": [[0, 0]]}, {"name": "B", "vertices": [[1, 1]]}])";
    struct Case {
        const char* parameters;
        std::size_t warnings;
    };
    const Case cases[] = {
        {R"({"Mask 1": "A", "Mask 2": 2})", 0},
        {R"({"Mask 1": {"keyframes": [{"time": 0, "value": null}, {"time": 1, "value": "B"}]},
             "Mask 2": "A"})",
         0},
        {R"({"Mask 1": null, "Mask 2": 0})", 2},
    };
    for (const Case& c : cases) {
        const Scene scene =
            ParseScene(masks + R"(, "parameters": )" + c.parameters + "}", "w.json");
        EXPECT_EQ(SceneWarnings(scene).size(), c.warnings) << c.parameters;
    }
    EXPECT_EQ(SceneWarnings(ParseScene(masks + R"(, "parameters": {"Mask 1": "A"}})", "w.json")),
              std::vector<std::string>{"w.json: the scene has masks, but \"Mask 2\" names none of "
                                       "them: the effect passes the layer through"});
}

TEST(RenderOptionsTest, NumbersFrameFiles) {
    EXPECT_EQ("out_0012.png", FrameFileName("out_####.png", 12));
    EXPECT_EQ("out_12345.png", FrameFileName("out_##.png", 12345));
    EXPECT_EQ("dir/out_0003.tif", FrameFileName("dir/out.tif", 3));
    EXPECT_EQ("my.dir/out_0003", FrameFileName("my.dir/out", 3));
    EXPECT_EQ("a#b/frame_0001.png", FrameFileName("a#b/frame.png", 1));
}

TEST(RenderOptionsTest, PlansOneImageOrOnePerFrame) {
    Scene scene =
        ParseScene(R"({"width": 4, "height": 4, "frameRate": 10, "frames": [2, 4]})", "s.json");
    RenderOptions options =
        ParseRenderOptions({"s.json", "-o", "f.png", "--depth", "16", "--scale", "0.5"});
    RenderPlan jobs = PlanRender(scene, options);
    EXPECT_EQ(Depth::Bits16, scene.depth);
    EXPECT_EQ(2, scene.width);
    ASSERT_EQ(3u, jobs.Count());
    EXPECT_EQ(2, jobs.Job(0).frame.value());
    EXPECT_DOUBLE_EQ(0.4, jobs.Job(2).time);
    EXPECT_EQ("f_0004.png", jobs.Job(2).outputPath);

    // A range of one frame writes the named file, unless the name asks for its number.
    for (const auto& [name, written] :
         {std::pair<const char*, const char*>{"o.png", "o.png"}, {"o_###.png", "o_003.png"}}) {
        Scene one = scene;
        jobs = PlanRender(one, ParseRenderOptions({"s.json", "-o", name, "--frames", "3-3"}));
        ASSERT_EQ(1u, jobs.Count());
        EXPECT_EQ(3, jobs.Job(0).frame.value());
        EXPECT_EQ(written, jobs.Job(0).outputPath);
    }

    // Frames are planned as they are asked for: a day at the highest rate costs nothing.
    Scene day = ParseScene(
        R"({"width": 4, "height": 4, "frameRate": 240, "frames": [0, 20736000]})", "s.json");
    jobs = PlanRender(day, ParseRenderOptions({"s.json", "-o", "d.exr"}));
    ASSERT_EQ(20736001u, jobs.Count());
    EXPECT_EQ("d_20736000.exr", jobs.Job(20736000).outputPath);
    EXPECT_DOUBLE_EQ(86400.0, jobs.Job(20736000).time);

    // Keys given by frame are at the frame's time; a vertex as six numbers has both tangents.
    const Scene keyed = ParseScene(R"({"width": 4, "height": 4, "frameRate": 10, "masks": [
        {"keyframes": [{"frame": 0, "vertices": [[0, 0]]}, {"frame": 5, "vertices": [[1, 1]]}]},
        {"vertices": [[0, 0, -1, -2, 3, 4]]}]})",
                                   "k.json");
    EXPECT_DOUBLE_EQ(0.5, keyed.masks[0].keys[1].time);
    const SceneVertex& six = keyed.masks[1].keys[0].vertices[0];
    EXPECT_EQ(std::vector<double>({six.inX, six.inY, six.outX, six.outY}),
              std::vector<double>({-1, -2, 3, 4}));

    Scene far = scene;
    EXPECT_THROW(
        PlanRender(far, ParseRenderOptions({"s.json", "-o", "x.png", "--frame", "864001"})),
        SceneError);
}

}  // namespace
