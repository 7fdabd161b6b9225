// A scene put into the host with the module loaded: the effect's own parameters by display
// name, values and keyframes as the host keeps them, masks as the layer's paths.
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host/mask_set.h"
#include "host/scene_file.h"
#include "host/scene_setup.h"
#include "host/suites/path_suites.h"
#include "tests/support/error_message.h"
#include "tests/support/module_host.h"

namespace quorvel::testing {
namespace {

using host::ParamValue;

class SceneSetupTest : public ModuleTest {
  protected:
    void SetUp() override {
        ModuleTest::SetUp();
        ASSERT_EQ(effect().Send(PF_Cmd_PARAMS_SETUP).err, PF_Err_NONE);
    }
    void TearDown() override { effect().parameters().DisposeRamps(); }

    PF_ParamIndex Index(const char* name) { return effect().parameters().Find(name); }

    ParamValue Value(const char* name) {
        ParamValue value;
        EXPECT_EQ(effect().parameters().GetValue(Index(name), &value), PF_Err_NONE) << name;
        return value;
    }
};

TEST_F(SceneSetupTest, PutsMasksValuesAndKeyframesIntoTheHost) {
    const host::Scene scene = host::ParseScene(R"({
        "width": 64, "height": 48, "frameRate": 30, "time": 0.5,
        "masks": [
            {"name": "A", "vertices": [[0, 10], [64, 10]]},
            {"name": "B", "closed": true, "keyframes": [
                {"time": 0, "vertices": [[0, 40], {"point": [64, 40], "in": [-5, 1]}]},
                {"time": 2, "vertices": [[0, 30], [64, 30]]}]}
        ],
        "parameters": {
            "Mask 1": "B", "Mask 2": 1,
            "Quorvel Factor": 3.4028235e38,
            "Strips Count": 2147483647,
            "Strips Enable": true,
            "Background Blend Mode": "Blend",
            "Quorvel Ramp": {"interpolation": "line", "points": [[0, 0.5], [1, 0.25]]},
            "Offset": {"keyframes": [{"time": 0, "value": 0}, {"frame": 30, "value": 50}]}
        }
    })",
                                               "setup.json");
    host::ApplyScene(host, scene);

    const host::MaskSet& masks = host::MaskPaths(host);
    ASSERT_EQ(masks.masks.size(), 2u);
    EXPECT_EQ(masks.IdOf("A"), 1u);
    const host::MaskPath* b = masks.Find(masks.IdOf("B"));
    ASSERT_NE(b, nullptr);
    ASSERT_EQ(b->keyframes.size(), 2u);
    EXPECT_TRUE(b->keyframes[0].shape.closed);
    EXPECT_EQ(b->keyframes[0].shape.vertices[1].inTangent.x, -5.0);
    EXPECT_EQ(b->keyframes[1].seconds, 2.0);
    EXPECT_EQ(b->ShapeAt(1.0).vertices[0].position.y, 35.0);

    EXPECT_EQ(Value("Mask 1").number, masks.IdOf("B"));
    EXPECT_EQ(Value("Mask 2").number, masks.IdOf("A"));
    EXPECT_EQ(Value("Quorvel Factor").number, static_cast<double>(3.4028235e38f));
    EXPECT_EQ(Value("Strips Count").number, 2147483647.0);
    EXPECT_EQ(Value("Strips Enable").number, 1.0);
    EXPECT_EQ(Value("Background Blend Mode").number, 3.0);
    // The ramp went through the effect's own saved form and comes back the same.
    host::RampSetting ramp;
    ramp.interpolation = 1;
    ramp.points = {{0.0f, 0.5f}, {1.0f, 0.25f}};
    EXPECT_EQ(Value("Quorvel Ramp").flatRamp, host::FlattenRampSetting(ramp));

    host::Parameters& parameters = effect().parameters();
    ASSERT_EQ(parameters.KeyframeCount(Index("Offset")), 2u);
    double time = 0.0;
    ParamValue key;
    ASSERT_EQ(parameters.GetKeyframe(Index("Offset"), 1, &time, &key), PF_Err_NONE);
    EXPECT_EQ(time, 1.0);
    EXPECT_EQ(key.number, 50.0);

    // The instance renders at the scene's size and time: 0.5 s at 30 frames a second.
    const host::InstanceSettings settings = effect().Settings();
    EXPECT_EQ(settings.width, 64);
    EXPECT_EQ(settings.height, 48);
    EXPECT_EQ(settings.timeScale, 3000u);
    EXPECT_EQ(settings.timeStep, 100);
    EXPECT_EQ(settings.currentTime, 1500);
    EXPECT_LEDGER_BALANCED(host);
}

TEST_F(SceneSetupTest, EveryExampleSceneFitsTheEffect) {
    int count = 0;
    for (const auto& entry :
         std::filesystem::directory_iterator(std::string(QUORVEL_SOURCE_DIR) + "/examples")) {
        if (entry.path().extension() == ".json") {
            SCOPED_TRACE(entry.path().string());
            const host::Scene scene = host::LoadSceneFile(entry.path().string());
            EXPECT_EQ(scene.masks.size(), 2u);
            EXPECT_NO_THROW(host::ApplyScene(host, scene));
            EXPECT_EQ(host::MaskPaths(host).masks.size(), scene.masks.size());
            ++count;
        }
    }
    EXPECT_GE(count, 4);
}

TEST_F(SceneSetupTest, NamesTheParameterThatTheEffectRefuses) {
    const host::Scene bad = host::ParseScene(
        R"({"width": 8, "height": 8, "parameters": {"Strips Count": 1}})", "bad.json");
    EXPECT_EQ(
        MessageOf<host::SceneError>([&] { host::ApplyScene(host, bad); }),
        "bad.json: parameters.\"Strips Count\": 1 is outside the valid range 2 .. 2147483647");

    // A ramp value the effect cannot take: its handle cannot be made.
    const host::Scene ramp = host::ParseScene(R"({"width": 8, "height": 8, "parameters": {
        "Quorvel Ramp": {"interpolation": "sin", "points": [[0, 1]]}}})",
                                              "ramp.json");
    host.faults().FailCall("host_new_handle", 1, PF_Err_OUT_OF_MEMORY);
    const std::string message = MessageOf<host::SceneError>([&] { host::ApplyScene(host, ramp); });
    EXPECT_NE(message.find("ramp.json: parameters.\"Quorvel Ramp\": the host refused the value "
                           "(error 4)"),
              std::string::npos)
        << message;
    EXPECT_LEDGER_BALANCED(host);
}

}  // namespace
}  // namespace quorvel::testing
