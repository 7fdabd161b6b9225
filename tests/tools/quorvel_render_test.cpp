// The renderer as a user runs it: exit statuses, messages and the files it writes.
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "host/image_file.h"

namespace {

namespace fs = std::filesystem;
using namespace quorvel::host;

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

class RenderToolTest : public testing::Test {
  protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("quorvel_render_tool_" + std::to_string(getpid()) + "_" +
                   testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    std::string File(const std::string& name) const { return (folder_ / name).string(); }

    std::string WriteScene(const std::string& name, const std::string& text) const {
        std::ofstream(File(name)) << text;
        return File(name);
    }

    // Skips the test when the module cannot start OpenGL here.
    void SkipWithoutOpenGl(const ToolRun& run) {
        if (run.status == 3 && run.output.find("GLOBAL_SETUP failed") != std::string::npos) {
            GTEST_SKIP() << "no OpenGL context: " << run.output;
        }
    }

    fs::path folder_;
};

TEST_F(RenderToolTest, BadCommandLinesEndWithStatusOneAndHelpWithZero) {
    ToolRun run = RenderTool(Example("default_look") + " -o x.png --depth 12");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find("--depth expects 8, 16 or 32"), std::string::npos) << run.output;
    run = RenderTool("--help");
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.output.find("Usage: quorvel-render SCENE.json -o IMAGE"), std::string::npos);
}

TEST_F(RenderToolTest, BadScenesAndMissingFilesEndWithStatusTwoOrThree) {
    const std::string out = " -o " + File("out.png");
    ToolRun run = RenderTool(File("none.json") + out);
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.output.find("none.json: cannot open the scene file"), std::string::npos)
        << run.output;

    // A module that cannot be loaded: status 3.
    run = RenderTool(Example("default_look") + " -o " + File("x.png") + " --module " +
                     File("missing.so"));
    EXPECT_EQ(run.status, 3);
    EXPECT_NE(run.output.find("missing.so"), std::string::npos) << run.output;

    // Scene errors are reported by the scene reader's own tests; here only the status, once
    // before the module is loaded and once after (parameter names are the effect's own).
    run =
        RenderTool(WriteScene("name.json",
                              R"({"width": 8, "height": 8, "parameters": {"Quorvel Factr": 1}})") +
                   out);
    SkipWithoutOpenGl(run);
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.output.find("parameters.\"Quorvel Factr\": the effect has no parameter of this "
                              "name (did you mean \"Quorvel Factor\"?)"),
              std::string::npos)
        << run.output;
    EXPECT_FALSE(fs::exists(File("out.png")));

    for (const std::string& missing : {" -o " + File("no/folder/x.png"), " --ui " + File("no")}) {
        run = RenderTool(Example("default_look") + missing);
        EXPECT_EQ(run.status, 2);
        EXPECT_NE(run.output.find("quorvel-render: the output folder"), std::string::npos)
            << run.output;
    }

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

TEST_F(RenderToolTest, RendersAnExampleAndAFrameRange) {
    ToolRun run = RenderTool(Example("default_look") + " -o " + File("look.png"));
    SkipWithoutOpenGl(run);
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("1 frame of 320 x 180 at 8 bits"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("wrote " + File("look.png")), std::string::npos) << run.output;
    const auto image = ReadImageFile(File("look.png"), Depth::Bits8);
    EXPECT_EQ(image->Width(), 320);
    EXPECT_EQ(image->Height(), 180);

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
    // The module's OpenGL information, printed for its start-up context and each thread's,
    // reaches the user once.
    const std::size_t information = run.output.find("OpenGL Renderer:");
    EXPECT_NE(information, std::string::npos) << run.output;
    EXPECT_EQ(run.output.find("OpenGL Renderer:", information + 1), std::string::npos)
        << run.output;
}

TEST_F(RenderToolTest, AFrameThatFailsEndsWithStatusFourAndTheHostErrorCode) {
    // A side of 65536 pixels is more than the effect renders.
    const ToolRun run = RenderTool(WriteScene("wide.json", R"({"width": 65536, "height": 1})") +
                                   " -o " + File("wide.png"));
    SkipWithoutOpenGl(run);
    EXPECT_EQ(run.status, 4) << run.output;
    EXPECT_NE(run.output.find("the frame at 0 s failed: the effect returned error 4 "
                              "(PF_Err_OUT_OF_MEMORY) from SMART_RENDER"),
              std::string::npos)
        << run.output;
    EXPECT_FALSE(fs::exists(File("wide.png")));
}

}  // namespace
