#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "host/scene_file.h"
#include "tests/support/error_message.h"

namespace {

using namespace quorvel::host;

// The message of the SceneError that parsing the text raises, or "no error".
std::string ErrorOf(const std::string& text, const std::string& path = "s.json") {
    return quorvel::testing::MessageOf<SceneError>([&] { ParseScene(text, path); });
}

TEST(SceneFileTest, ReadsAFullScene) {
    const Scene scene = ParseScene(R"({
        "width": 320, "height": 180, "depth": "float", "frameRate": 30,
        "frames": [3, 12],
        "layer": "testCard",
        "masks": [
            {"name": "Upper", "closed": true, "vertices": [
                [10, 20],
                [30, 40, -1, -2, 3, 4],
                {"point": [50, 60], "out": [5, 6]}]},
            {"keyframes": [
                {"time": 0, "vertices": [[0, 0], [1, 1]]},
                {"frame": 60, "vertices": [[2, 2], [3, 3]]}]}
        ],
        "parameters": {
            "Quorvel Factor": 50,
            "Mask 1": "Upper",
            "Offset": {"keyframes": [{"frame": 0, "value": 0}, {"time": 1.5, "value": 10}]}
        }
    })",
                                   "/scenes/full.json");
    EXPECT_EQ("/scenes/full.json", scene.path);
    EXPECT_EQ(320, scene.width);
    EXPECT_EQ(180, scene.height);
    EXPECT_EQ(Depth::Float, scene.depth);
    EXPECT_DOUBLE_EQ(30.0, scene.frameRate);
    EXPECT_EQ(3, scene.firstFrame.value());
    EXPECT_EQ(12, scene.lastFrame.value());
    EXPECT_DOUBLE_EQ(0.1, scene.time);
    EXPECT_TRUE(scene.layer.testCard);

    ASSERT_EQ(2u, scene.masks.size());
    const SceneMask& upper = scene.masks[0];
    EXPECT_EQ("Upper", upper.name);
    EXPECT_TRUE(upper.closed);
    ASSERT_EQ(1u, upper.keys.size());
    ASSERT_EQ(3u, upper.keys[0].vertices.size());
    const SceneVertex& second = upper.keys[0].vertices[1];
    EXPECT_EQ(30.0, second.x);
    EXPECT_EQ(40.0, second.y);
    EXPECT_EQ(-1.0, second.inX);
    EXPECT_EQ(-2.0, second.inY);
    EXPECT_EQ(3.0, second.outX);
    EXPECT_EQ(4.0, second.outY);
    const SceneVertex& third = upper.keys[0].vertices[2];
    EXPECT_EQ(0.0, third.inX);
    EXPECT_EQ(6.0, third.outY);

    const SceneMask& moving = scene.masks[1];
    EXPECT_EQ("Mask 2", moving.name);
    EXPECT_FALSE(moving.closed);
    ASSERT_EQ(2u, moving.keys.size());
    EXPECT_DOUBLE_EQ(2.0, moving.keys[1].time);
    EXPECT_EQ(3.0, moving.keys[1].vertices[1].y);

    // Parameters keep the file's order.
    ASSERT_EQ(3u, scene.parameters.size());
    EXPECT_EQ("Quorvel Factor", scene.parameters[0].name);
    EXPECT_FALSE(scene.parameters[0].keyframed);
    EXPECT_EQ(50, scene.parameters[0].keys[0].value.get<int>());
    EXPECT_EQ("Mask 1", scene.parameters[1].name);
    const SceneParameter& offset = scene.parameters[2];
    EXPECT_TRUE(offset.keyframed);
    ASSERT_EQ(2u, offset.keys.size());
    EXPECT_DOUBLE_EQ(1.5, offset.keys[1].time);
    EXPECT_EQ("parameters.\"Offset\".keyframes[1].value", offset.keys[1].location);
}

TEST(SceneFileTest, DefaultsAreEightBitsAtTimeZero) {
    const Scene scene = ParseScene(R"({"width": 4, "height": 2})", "d.json");
    EXPECT_EQ(Depth::Bits8, scene.depth);
    EXPECT_DOUBLE_EQ(25.0, scene.frameRate);
    EXPECT_DOUBLE_EQ(0.0, scene.time);
    EXPECT_FALSE(scene.firstFrame.has_value());
    EXPECT_TRUE(scene.layer.testCard);
    EXPECT_TRUE(scene.masks.empty());
    EXPECT_TRUE(scene.parameters.empty());
    EXPECT_DOUBLE_EQ(
        0.5,
        ParseScene(R"({"width": 4, "height": 2, "frame": 12, "frameRate": 24})", "f.json").time);
}

TEST(SceneFileTest, ImageLayersAreFoundBesideTheScene) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("quorvel_scene_" + std::to_string(getpid()));
    std::filesystem::create_directories(folder / "pictures");
    std::ofstream(folder / "pictures" / "photo.png") << "x";
    const std::string scenePath = (folder / "scene.json").string();
    const Scene scene = ParseScene(R"({"layer": {"image": "pictures/photo.png"}})", scenePath);
    EXPECT_FALSE(scene.layer.testCard);
    // As paths in normal form: on Windows both the scene's "/" and the folder's "\" separate.
    EXPECT_EQ((folder / "pictures" / "photo.png").lexically_normal().string(),
              std::filesystem::path(scene.layer.imagePath).lexically_normal().string());
    EXPECT_EQ(0, scene.width);

    const std::string missing = ErrorOf(R"({"layer": {"image": "nothing.png"}})", scenePath);
    EXPECT_NE(std::string::npos, missing.find("layer.image: image file not found: "));
    EXPECT_NE(std::string::npos, missing.find("nothing.png"));
    std::filesystem::remove_all(folder);
}

TEST(SceneFileTest, ErrorsNameTheFileThePlaceAndTheProblem) {
    struct Case {
        std::string text;
        const char* message;
    };
    // A value nested one level too deep, and one nested so deep that copying it would
    // overflow the stack.
    const auto nested = [](int levels) {
        return R"({"parameters": {"Offset": )" + std::string(levels - 2, '[') +
               std::string(levels - 2, ']') + "}}";
    };
    const Case cases[] = {
        {R"({"width": 4,)", "s.json: invalid JSON: parse error at line 1, column 13"},
        {nested(17), "s.json: objects and arrays nest deeper than 16 levels"},
        {nested(100000), "s.json: objects and arrays nest deeper than 16 levels"},
        {"[1, 2]", "s.json: a scene is a JSON object"},
        {R"({"widht": 4})", "s.json: unknown key \"widht\" (expected \"width\", \"height\""},
        {R"({"width": 4})", "s.json: width: give both \"width\" and \"height\""},
        {R"({"width": 0, "height": 4})", "s.json: width: 0 is outside the range 1 .. 1048576"},
        {R"({"width": 4.5, "height": 4})", "s.json: width: 4.5 is not a whole number"},
        {R"({"width": "4", "height": 4})", "s.json: width: expected a number"},
        {R"({"width": 1048576, "height": 1048576})", "s.json: height: the frame 1048576 x 1048576"},
        {R"({"width": 4, "height": 1e999})",
         "s.json: invalid JSON: number overflow parsing '1e999'"},
        {R"({"width": 4, "height": 4, "depth": 12})", "s.json: depth: expected 8, 16 or 32"},
        {R"({"width": 4, "height": 4, "frameRate": 0.001})",
         "frameRate: 0.001 is outside the range 0.01 .. 240"},
        {R"({"width": 4, "height": 4, "frameRate": 240.0001})",
         "frameRate: 240.0001 is outside the range 0.01 .. 240"},
        {R"({"width": 4, "height": 4, "time": 1, "frame": 2})", "give only one of \"time\""},
        {R"({"width": 4, "height": 4, "time": -1})", "time: -1 is outside the range 0 .. 86400"},
        {R"({"width": 4, "height": 4, "frames": [5, 4]})", "frames[1]: 4 is outside the range 5"},
        {R"({"width": 4, "height": 4, "frames": 5})", "frames: expected [first, last]"},
        {R"({})", "s.json: a scene with the test card as its layer needs \"width\""},
        {R"({"width": 4, "height": 4, "layer": 3})", "layer: expected \"testCard\" or"},
        {R"({"width": 4, "height": 4, "layer": {"image": 3}})", "layer: expected {\"image\""},
        {R"({"width": 4, "height": 4, "masks": {}})", "masks: expected an array"},
        {R"({"width": 4, "height": 4, "masks": [{"closed": true}]})",
         "masks[0]: give either \"vertices\" or \"keyframes\""},
        {R"({"width": 4, "height": 4, "masks": [{"vertices": []}]})",
         "masks[0].vertices: expected a non-empty array"},
        {R"({"width": 4, "height": 4, "masks": [{"vertices": [[1, 2, 3]]}]})",
         "masks[0].vertices[0]: expected [x, y], [x, y, inX, inY, outX, outY]"},
        {R"({"width": 4, "height": 4, "masks": [{"vertices": [{"point": [1, 2], "in": [1]}]}]})",
         "masks[0].vertices[0].in: expected two numbers"},
        {R"({"width": 4, "height": 4, "masks": [{"vertices": [[-1e300, 0]]}]})",
         "masks[0].vertices[0][0]: -1e+300 is outside the range -16777216 .. 16777216"},
        {R"({"width": 4, "height": 4, "masks": [{"vertices": [{"point": [0, 0], "in": [0, 1e154]}]}]})",
         "masks[0].vertices[0].in[1]: 1e+154 is outside the range -16777216 .. 16777216"},
        {R"({"width": 4, "height": 4, "masks": [{"vertices": [[0, 0]], "closed": 1}]})",
         "masks[0].closed: expected true or false"},
        {R"({"width": 4, "height": 4, "masks": [{"name": "A", "vertices": [[0, 0]]},
                                                {"name": "A", "vertices": [[0, 0]]}]})",
         "masks[1]: another mask is already named \"A\""},
        {R"({"width": 4, "height": 4, "masks": [{"keyframes": [
                {"time": 1, "vertices": [[0, 0]]}, {"time": 1, "vertices": [[0, 0]]}]}]})",
         "masks[0].keyframes[1]: keyframes must be in increasing time"},
        {R"({"width": 4, "height": 4, "masks": [{"keyframes": [
                {"time": 0, "vertices": [[0, 0]]}, {"time": 1, "vertices": [[0, 0], [1, 1]]}]}]})",
         "masks[0].keyframes[1]: every keyframe of a mask needs the same number of vertices (1)"},
        {R"({"width": 4, "height": 4, "masks": [{"keyframes": [{"vertices": [[0, 0]]}]}]})",
         "masks[0].keyframes[0]: give either \"time\" (seconds) or \"frame\""},
        {R"({"width": 4, "height": 4, "parameters": []})", "parameters: expected an object"},
        {R"({"width": 4, "height": 4, "parameters": {"Offset": 1, "Offset": 2}})",
         "s.json: the key \"Offset\" appears twice in one object"},
        {R"({"width": 4, "height": 4, "parameters": {"Offset": {"keyframes": []}}})",
         "parameters.\"Offset\".keyframes: expected a non-empty array"},
        {R"({"width": 4, "height": 4, "parameters": {"Offset": {"keyframes": [{"time": 0}]}}})",
         "parameters.\"Offset\".keyframes[0]: missing \"value\""},
        {R"({"width": 4, "height": 4, "parameters": {"Offset": {"keyframes": [
                {"time": 2, "value": 1}, {"time": 1, "value": 2}]}}})",
         "parameters.\"Offset\".keyframes[1]: keyframes must be in increasing time"},
    };
    for (const Case& c : cases) {
        const std::string message = ErrorOf(c.text);
        EXPECT_NE(std::string::npos, message.find(c.message))
            << "scene: " << c.text << "\nmessage: " << message;
    }
}

TEST(SceneFileTest, LoadingReportsAFileThatCannotBeRead) {
    EXPECT_EQ(
        "/nonexistent/scene.json: cannot open the scene file",
        quorvel::testing::MessageOf<SceneError>([] { LoadSceneFile("/nonexistent/scene.json"); }));
    EXPECT_THROW(LoadSceneFile(std::filesystem::temp_directory_path().string()), SceneError);
}

}  // namespace
