// The renderer as a user runs it: exit statuses, messages and the files it writes.
#include <sys/wait.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

#include "host/image_file.h"
#include "tests/support/image_compare.h"
#include "tests/support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using namespace quorvel::host;
using quorvel::testing::CompareWorlds;
using quorvel::testing::WorldDifference;

struct ToolRun {
    int status;
    std::string output;
};

// Runs the tool with arguments (quoted by the caller where needed), standard error and
// standard output together.
ToolRun RenderTool(const std::string& arguments) {
    const std::string command = std::string(QUORVEL_RENDER_TOOL) + " " + arguments + " 2>&1";
    ToolRun run{-1, std::string()};
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return run;
    }
    char buffer[4096];
    std::size_t read = 0;
    while ((read = std::fread(buffer, 1, sizeof(buffer), pipe)) > 0) {
        run.output.append(buffer, read);
    }
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

std::string Example(const char* name) {
    return std::string(QUORVEL_SOURCE_DIR) + "/examples/" + name + ".json";
}

// The header of an uncompressed TIFF whose pixels never follow: all that a reader learns
// before it decides how much memory the image needs.
std::string TiffHeader(std::uint32_t width, std::uint32_t height, std::uint32_t channels,
                       std::uint32_t bits) {
    // Tag, type (3 a 16-bit value, 4 a 32-bit value), value; the rest have their defaults.
    const std::uint32_t stripBytes = width * height * channels * (bits / 8);
    const std::uint32_t tags[][3] = {
        {256, 4, width}, {257, 4, height},   {258, 3, bits},       {262, 3, 1},
        {273, 4, 8},     {277, 3, channels}, {279, 4, stripBytes}, {339, 3, bits == 32 ? 3u : 1u}};
    std::string bytes("II*\0\x08\0\0\0", 8);
    const auto put = [&bytes](std::uint32_t value, int size) {
        for (int i = 0; i < size; ++i) {
            bytes += static_cast<char>(value >> (8 * i));
        }
    };
    put(std::size(tags), 2);
    for (const auto& tag : tags) {
        put(tag[0], 2);
        put(tag[1], 2);
        put(1, 4);
        put(tag[2], 4);
    }
    put(0, 4);
    return bytes;
}

using RenderToolTest = quorvel::testing::TempFolderTest;

// The module cannot start OpenGL here: the test skips.
bool SkipWithoutOpenGl(const ToolRun& run) {
    return run.status == 3 && run.output.find("GLOBAL_SETUP failed") != std::string::npos;
}

TEST_F(RenderToolTest, EachKindOfBadInputEndsWithItsStatusAndMessage) {
    std::ofstream(File("channels.tif"), std::ios::binary) << TiffHeader(4096, 2048, 64, 32);
    std::ofstream(File("huge.tif"), std::ios::binary) << TiffHeader(16384, 16384, 1, 8);
    const auto nested = [](int levels) {
        return R"({"parameters": {"Offset": )" + std::string(levels - 2, '[') +
               std::string(levels - 2, ']') + "}}";
    };
    const std::string card = R"({"width": 8, "height": 8, )";
    const std::string masks = card + R"("masks": [{"name": "A", "vertices": [)";
    const std::string frameMemory =
        "needs 2048 MiB for its layer and output, more than the "
        "1024 MiB the host gives a frame";
    // The scene: its text, a name in the test's folder that does not exist, or "" for an
    // example. In the options "@" stands for the test's folder.
    struct Case {
        std::string scene;
        std::string options;
        int status;
        std::string message;
    };
    const Case cases[] = {
        {"", "--help", 0, "Usage: quorvel-render SCENE.json -o IMAGE"},
        {"", "-o @x.png --depth 12", 1, "--depth expects 8, 16 or 32"},
        {"none.json", "-o @out.png", 2, "none.json: cannot open the scene file"},
        {"", "-o @no/folder/x.png", 2, "quorvel-render: the output folder"},
        {"", "--ui @no", 2, "quorvel-render: the output folder"},
        {R"({"width": 4,)", "-o @out.png", 2, "invalid JSON: parse error at line 1, column 13"},
        {nested(16), "-o @out.png", 2, "needs \"width\""},
        {nested(17), "-o @out.png", 2, "objects and arrays nest deeper than 16 levels"},
        // So deep that copying it would overflow the stack.
        {nested(100000), "-o @out.png", 2, "objects and arrays nest deeper than 16 levels"},
        {R"({"width": 0, "height": 4})", "-o @out.png", 2,
         "width: 0 is outside the range 1 .. 1048576"},
        {R"({"width": 1048576, "height": 1048576})", "-o @out.png", 2,
         "height: the frame 1048576 x 1048576"},
        {card + R"("frameRate": 0.001})", "-o @out.png", 2,
         "frameRate: 0.001 is outside the range 0.01 .. 240"},
        {card + R"("frameRate": 240.0001})", "-o @out.png", 2,
         "frameRate: 240.0001 is outside the range 0.01 .. 240"},
        {card + R"("time": -1})", "-o @out.png", 2, "time: -1 is outside the range 0 .. 86400"},
        {masks + "[-1e300, 0]]}]}", "-o @out.png", 2,
         "masks[0].vertices[0][0]: -1e+300 is outside the range -16777216 .. 16777216"},
        {masks + R"({"point": [0, 0], "in": [0, 1e154]}]}]})", "-o @out.png", 2,
         "masks[0].vertices[0].in[1]: 1e+154 is outside the range -16777216 .. 16777216"},
        {R"({"width": 16384, "height": 16384})", "-o @out.png", 2, frameMemory},
        {R"({"layer": {"image": "huge.tif"}})", "-o @out.png", 2, frameMemory},
        {R"({"layer": {"image": "channels.tif"}})", "-o @out.png", 2,
         "its 64 channels of 4096 x 2048 pixels take 2048 MiB as stored, more than the 1024 MiB"},
        {R"({"layer": {"image": "nothing.png"}})", "-o @out.png", 2,
         "layer.image: image file not found: "},
        {R"({"width": 20000, "height": 10})", "-o @out.png --scale 60", 2,
         "the scene cannot be scaled by 60"},
        {R"({"layer": {"image": "huge.tif"}})", "-o @out.png --scale 0.5", 2,
         "only a scene with the test card as its layer can be scaled"},
        {"", "-o @x.png --module @missing.so", 3, "missing.so"},
        // Parameters are named by the effect: these are refused after the module is loaded.
        {card + R"("parameters": {"Quorvel Factr": 1}})", "-o @out.png", 2,
         "parameters.\"Quorvel Factr\": the effect has no parameter of this name (did you mean "
         "\"Quorvel Factor\"?)"},
        {card + R"("parameters": {"Strips Count": 1}})", "-o @out.png", 2,
         "parameters.\"Strips Count\": 1 is outside the valid range 2 .. 2147483647"},
        {masks + R"([0, 0]]}], "parameters": {"Mask 1": "B"}})", "-o @out.png", 2,
         "parameters.\"Mask 1\": the scene has no mask named \"B\""},
        {card + R"("parameters": {"Quorvel Ramp": {"interpolation": "sin", "points": [[0, 2]]}}})",
         "-o @out.png", 2, "parameters.\"Quorvel Ramp\".points[0]: t and v must lie in 0 .. 1"},
        // A side of 65536 pixels is more than the effect renders.
        {R"({"width": 65536, "height": 1})", "-o @out.png", 4,
         "the frame at 0 s failed: the effect returned error 4 (PF_Err_OUT_OF_MEMORY) from "
         "SMART_RENDER"},
    };
    for (const Case& c : cases) {
        std::string scene = c.scene.empty() ? Example("default_look") : File(c.scene);
        if (!c.scene.empty() && c.scene.front() == '{') {
            scene = File("scene.json");
            std::ofstream(scene) << c.scene;
        }
        std::string options = c.options;
        for (std::size_t at = options.find('@'); at != std::string::npos;
             at = options.find('@', at)) {
            options.replace(at, 1, folder_.string() + "/");
        }
        const ToolRun run = RenderTool(scene + " " + options);
        SCOPED_TRACE(c.scene.substr(0, 200) + " " + c.options + "\n" + run.output);
        if (SkipWithoutOpenGl(run)) {
            GTEST_SKIP() << "no OpenGL context";
        }
        EXPECT_EQ(run.status, c.status);
        EXPECT_NE(run.output.find(c.message), std::string::npos);
        EXPECT_FALSE(fs::exists(File("out.png")));
    }
}

TEST_F(RenderToolTest, RendersAnExampleAndAFrameRange) {
    ToolRun run = RenderTool(Example("default_look") + " -o " + File("look.png"));
    if (SkipWithoutOpenGl(run)) {
        GTEST_SKIP() << "no OpenGL context";
    }
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("1 frame of 320 x 180 at 8 bits"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("wrote " + File("look.png")), std::string::npos) << run.output;
    const auto image = ReadImageFile(File("look.png"), Depth::Bits8);
    EXPECT_EQ(image->Width(), 320);
    EXPECT_EQ(image->Height(), 180);
    // The same picture packed harder is a smaller file.
    run = RenderTool(Example("default_look") + " -o " + File("small.png") + " --compression small");
    ASSERT_EQ(run.status, 0) << run.output;
    run = RenderTool(Example("default_look") + " -o " + File("none.png") + " --compression none");
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_LT(fs::file_size(File("small.png")), fs::file_size(File("look.png")));
    EXPECT_LT(fs::file_size(File("look.png")), fs::file_size(File("none.png")));

    run = RenderTool(Example("animation") + " -o " + File("anim_###.exr") +
                     " --frames 3-6 --threads 3 --depth 32");
    ASSERT_EQ(run.status, 0) << run.output;
    for (const char* name : {"anim_003.exr", "anim_004.exr", "anim_005.exr", "anim_006.exr"}) {
        EXPECT_TRUE(fs::exists(File(name))) << name;
    }
    EXPECT_FALSE(fs::exists(File("anim_007.exr")));
    EXPECT_NE(run.output.find(": 4 of 4 (100%)"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("wrote " + File("anim_003.exr") + " .. " + File("anim_006.exr")),
              std::string::npos)
        << run.output;
    // A frame rendered alone is the one rendered among others at once.
    run = RenderTool(Example("animation") + " -o " + File("alone.exr") + " --frame 5 --depth 32");
    ASSERT_EQ(run.status, 0) << run.output;
    const auto difference = [this](const char* a, const char* b) {
        return CompareWorlds(*ReadImageFile(File(a), Depth::Float),
                             *ReadImageFile(File(b), Depth::Float), 0.0f);
    };
    const WorldDifference alone = difference("alone.exr", "anim_005.exr");
    EXPECT_TRUE(alone.sameShape && alone.pixelsBeyondTolerance == 0) << Describe(alone);
    EXPECT_GT(difference("anim_004.exr", "anim_005.exr").pixelsBeyondTolerance, 0);
    // The module's OpenGL information, printed for its start-up context and each thread's,
    // reaches the user once.
    const std::size_t information = run.output.find("OpenGL Renderer:");
    EXPECT_NE(information, std::string::npos) << run.output;
    EXPECT_EQ(run.output.find("OpenGL Renderer:", information + 1), std::string::npos)
        << run.output;

    // An image that cannot be written (its name is taken by a folder) ends the run there,
    // the images before it written and none after it.
    fs::create_directories(File("frame_0001.png"));
    run = RenderTool(Example("default_look") + " -o " + File("frame_####.png") + " --frames 0-3");
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.output.find("cannot write image '" + File("frame_0001.png")), std::string::npos)
        << run.output;
    EXPECT_TRUE(fs::exists(File("frame_0000.png")));
    EXPECT_FALSE(fs::exists(File("frame_0002.png")));
    EXPECT_FALSE(fs::exists(File("frame_0003.png")));
}

}  // namespace
