#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host/scene_error.h"
#include "host/scene_file.h"
#include "tools/render_options.h"

namespace {

using namespace quorvel::host;

std::string UsageErrorOf(const std::vector<std::string>& arguments) {
    try {
        ParseRenderOptions(arguments);
    } catch (const UsageError& error) {
        return error.what();
    }
    return "no error";
}

TEST(RenderOptionsTest, ReadsEveryOption) {
    const RenderOptions options =
        ParseRenderOptions({"scene.json", "-o", "out.png", "--depth", "float", "--frames", "3-12",
                            "--threads", "4", "--module", "/x/Quorvel.so", "--compression",
                            "small"});
    EXPECT_FALSE(options.help);
    EXPECT_EQ("scene.json", options.scenePath);
    EXPECT_EQ("out.png", options.outputPath);
    EXPECT_EQ(Depth::Float, options.depth.value());
    EXPECT_EQ(3, options.frames->first);
    EXPECT_EQ(12, options.frames->last);
    EXPECT_EQ(4, options.threads);
    EXPECT_EQ("/x/Quorvel.so", options.modulePath);
    EXPECT_EQ(Compression::Small, options.compression);

    const RenderOptions other =
        ParseRenderOptions({"--output", "o.exr", "--time", "1.25", "s.json"});
    EXPECT_DOUBLE_EQ(1.25, other.time.value());
    EXPECT_EQ(1, other.threads);
    EXPECT_EQ(Compression::Fast, other.compression);
    EXPECT_FALSE(other.depth.has_value());
    EXPECT_TRUE(ParseRenderOptions({"s.json", "--help"}).help);
    const RenderOptions pictures = ParseRenderOptions({"s.json", "--ui", "pictures"});
    EXPECT_EQ("s.json", pictures.scenePath);
    EXPECT_EQ("pictures", pictures.uiDirectory);
    EXPECT_NE(std::string::npos, RenderUsage().find("--frames A-B"));
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
        {{"s.json", "-o", "x.png", "--depth", "24"}, "--depth expects 8, 16 or 32"},
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
        const std::string message = UsageErrorOf(c.arguments);
        EXPECT_NE(std::string::npos, message.find(c.message)) << message;
    }
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
    std::vector<RenderJob> jobs = PlanRender(scene, options);
    EXPECT_EQ(Depth::Bits16, scene.depth);
    EXPECT_EQ(2, scene.width);
    ASSERT_EQ(3u, jobs.size());
    EXPECT_EQ(2, jobs[0].frame.value());
    EXPECT_DOUBLE_EQ(0.4, jobs[2].time);
    EXPECT_EQ("f_0004.png", jobs[2].outputPath);

    // A time on the command line replaces the scene's range.
    Scene timed = scene;
    jobs = PlanRender(timed, ParseRenderOptions({"s.json", "-o", "t.png", "--time", "1.5"}));
    ASSERT_EQ(1u, jobs.size());
    EXPECT_FALSE(jobs[0].frame.has_value());
    EXPECT_DOUBLE_EQ(1.5, jobs[0].time);
    EXPECT_EQ("t.png", jobs[0].outputPath);

    Scene single = scene;
    jobs = PlanRender(single, ParseRenderOptions({"s.json", "-o", "t.png", "--frame", "7"}));
    ASSERT_EQ(1u, jobs.size());
    EXPECT_DOUBLE_EQ(0.7, jobs[0].time);
    EXPECT_EQ("t.png", jobs[0].outputPath);

    Scene ranged = ParseScene(R"({"width": 4, "height": 4, "time": 3})", "s.json");
    jobs = PlanRender(ranged, ParseRenderOptions({"s.json", "-o", "r_##.png", "--frames", "0-1"}));
    ASSERT_EQ(2u, jobs.size());
    EXPECT_EQ("r_01.png", jobs[1].outputPath);
    EXPECT_DOUBLE_EQ(0.04, jobs[1].time);

    Scene elsewhere = scene;
    EXPECT_THROW(PlanRender(elsewhere, ParseRenderOptions({"s.json", "-o", "/no/folder/x.png"})),
                 SceneError);

    Scene far = scene;
    EXPECT_THROW(
        PlanRender(far, ParseRenderOptions({"s.json", "-o", "x.png", "--frame", "864001"})),
        SceneError);
}

}  // namespace
