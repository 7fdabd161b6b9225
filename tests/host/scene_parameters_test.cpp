#include <cfloat>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host/scene_file.h"
#include "host/scene_parameters.h"
#include "tests/support/error_message.h"

namespace {

using namespace quorvel::host;

PF_ParamDef Definition(PF_ParamType type, const char* name) {
    PF_ParamDef definition;
    std::memset(&definition, 0, sizeof(definition));
    definition.param_type = type;
    std::strncpy(definition.name, name, sizeof(definition.name) - 1);
    return definition;
}

PF_ParamDef FloatSlider(const char* name, float low, float high) {
    PF_ParamDef definition = Definition(PF_Param_FLOAT_SLIDER, name);
    definition.u.fs_d.valid_min = low;
    definition.u.fs_d.valid_max = high;
    return definition;
}

PF_ParamDef IntSlider(const char* name, A_long low, A_long high) {
    PF_ParamDef definition = Definition(PF_Param_SLIDER, name);
    definition.u.sd.valid_min = low;
    definition.u.sd.valid_max = high;
    return definition;
}

// A few of the effect's parameters, with their real kinds, ranges and flags.
std::vector<ParameterDescription> Parameters() {
    std::vector<PF_ParamDef> definitions;
    definitions.push_back(Definition(PF_Param_LAYER, ""));
    definitions.push_back(Definition(PF_Param_PATH, "Mask 1"));
    definitions.push_back(Definition(PF_Param_GROUP_START, "Mesh Settings"));
    definitions.push_back(FloatSlider("Offset", 0.0f, 100.0f));
    definitions.push_back(FloatSlider("Quorvel Factor", 0.0f, FLT_MAX));
    definitions.push_back(FloatSlider("Distortion Noise Offset X", -FLT_MAX, FLT_MAX));
    definitions.push_back(IntSlider("Strips Count", 2, 2147483647));
    PF_ParamDef strips = Definition(PF_Param_CHECKBOX, "Strips Enable");
    strips.flags = PF_ParamFlag_SUPERVISE | PF_ParamFlag_CANNOT_TIME_VARY;
    definitions.push_back(strips);
    definitions.push_back(Definition(PF_Param_CHECKBOX, "Animate"));
    PF_ParamDef blend = Definition(PF_Param_POPUP, "Background Blend Mode");
    blend.u.pd.num_choices = 3;
    blend.u.pd.u.namesptr = "None|Normal|Blend";
    definitions.push_back(blend);
    definitions.push_back(Definition(PF_Param_GROUP_START, "Distortion Along Ramp"));
    definitions.push_back(Definition(PF_Param_ARBITRARY_DATA, "Distortion Along Ramp"));
    definitions.push_back(Definition(PF_Param_GROUP_END, ""));
    std::vector<ParameterDescription> descriptions;
    for (std::size_t i = 0; i < definitions.size(); ++i) {
        descriptions.push_back(DescribeParameter(static_cast<PF_ParamIndex>(i), definitions[i]));
    }
    return descriptions;
}

const char* const kMasks = R"("masks": [{"name": "Top", "vertices": [[0, 0]]},
                                         {"name": "Bottom", "vertices": [[0, 9]]}])";

std::vector<ParameterSetting> Resolve(const std::string& parameters) {
    const Scene scene = ParseScene(std::string(R"({"width": 4, "height": 4, )") + kMasks +
                                       R"(, "parameters": {)" + parameters + "}}",
                                   "p.json");
    return ResolveSceneParameters(scene, Parameters());
}

std::string ErrorOf(const std::string& parameters) {
    return quorvel::testing::MessageOf<SceneError>([&] { Resolve(parameters); });
}

TEST(SceneParametersTest, ChecksAndConvertsEveryKindOfValue) {
    const std::vector<ParameterSetting> settings = Resolve(R"(
        "Offset": 100,
        "Quorvel Factor": 3.4028235e38,
        "Distortion Noise Offset X": -3.4028235e38,
        "Strips Count": 2147483647,
        "Strips Enable": true,
        "Animate": 0,
        "Background Blend Mode": "Blend",
        "Mask 1": "Bottom",
        "Distortion Along Ramp": {"interpolation": "bezier", "mode": "withoutSin",
                                  "points": [[1, 0.5], [0, 0.25]]})");
    ASSERT_EQ(9u, settings.size());
    EXPECT_EQ(3, settings[0].index);
    EXPECT_EQ(100.0, settings[0].keys[0].value.number);
    // The largest float written with fewer digits is taken as the limit itself.
    EXPECT_EQ(static_cast<double>(FLT_MAX), settings[1].keys[0].value.number);
    EXPECT_EQ(-static_cast<double>(FLT_MAX), settings[2].keys[0].value.number);
    EXPECT_EQ(2147483647.0, settings[3].keys[0].value.number);
    EXPECT_EQ(1.0, settings[4].keys[0].value.number);
    EXPECT_EQ(0.0, settings[5].keys[0].value.number);
    EXPECT_EQ(3.0, settings[6].keys[0].value.number);
    EXPECT_EQ(2.0, settings[7].keys[0].value.number);
    // The ramp, not its group of the same name, with the points in ascending t.
    EXPECT_EQ(11, settings[8].index);
    const RampSetting& ramp = settings[8].keys[0].value.ramp;
    EXPECT_EQ(1, ramp.mode);
    EXPECT_EQ(3, ramp.interpolation);
    ASSERT_EQ(2u, ramp.points.size());
    EXPECT_EQ(0.0f, ramp.points[0].first);
    EXPECT_EQ(0.25f, ramp.points[0].second);

    // Popups and paths also take numbers; a path may be set to no mask.
    const std::vector<ParameterSetting> numbers =
        Resolve(R"("Background Blend Mode": 1, "Mask 1": null)");
    EXPECT_EQ(1.0, numbers[0].keys[0].value.number);
    EXPECT_EQ(0.0, numbers[1].keys[0].value.number);
    EXPECT_EQ(1.0, Resolve(R"("Mask 1": 1)")[0].keys[0].value.number);
}

TEST(SceneParametersTest, KeyframesKeepTheirTimes) {
    const std::vector<ParameterSetting> settings = Resolve(R"(
        "Offset": {"keyframes": [{"time": 0, "value": 0}, {"frame": 50, "value": 100}]},
        "Background Blend Mode": {"keyframes": [{"time": 0, "value": "None"},
                                                {"time": 1, "value": "Normal"}]})");
    ASSERT_EQ(2u, settings.size());
    EXPECT_TRUE(settings[0].keyframed);
    ASSERT_EQ(2u, settings[0].keys.size());
    EXPECT_DOUBLE_EQ(2.0, settings[0].keys[1].time);
    EXPECT_EQ(100.0, settings[0].keys[1].value.number);
    EXPECT_EQ(2.0, settings[1].keys[1].value.number);
}

TEST(SceneParametersTest, ErrorsNameTheParameterAndTheProblem) {
    struct Case {
        const char* parameters;
        const char* message;
    };
    const Case cases[] = {
        {R"("Quorvel factor": 1)",
         "p.json: parameters.\"Quorvel factor\": the effect has no parameter of this name "
         "(did you mean \"Quorvel Factor\"?)"},
        {R"("Sparkle": 1)", "parameters.\"Sparkle\": the effect has no parameter of this name"},
        {R"("Mesh Settings": 1)", "\"Mesh Settings\" is a group of parameters and takes no"},
        {R"("Offset": 100.5)", "parameters.\"Offset\": 100.5 is outside the valid range 0 .. 100"},
        {R"("Offset": -0.001)", "-0.001 is outside the valid range 0 .. 100"},
        {R"("Quorvel Factor": 3.5e38)",
         "3.5e+38 is outside the valid range 0 .. 3.4028234663852886e+38"},
        {R"("Strips Count": 1)", "1 is outside the valid range 2 .. 2147483647"},
        {R"("Strips Count": 2147483648)", "is outside the valid range 2 .. 2147483647"},
        {R"("Strips Count": 2.5)", "2.5 is not a whole number"},
        {R"("Animate": "yes")", "parameters.\"Animate\": expected true or false"},
        {R"("Animate": 2)", "expected true or false"},
        {R"("Background Blend Mode": "Over")",
         "expected one of \"None\", \"Normal\", \"Blend\" or its number 1 .. 3"},
        {R"("Background Blend Mode": 4)", "expected one of \"None\""},
        {R"("Mask 1": "Middle")", "parameters.\"Mask 1\": the scene has no mask named \"Middle\""},
        {R"("Mask 1": 3)", "expected a mask's name, its number 1 .. 2, or null"},
        {R"("Strips Enable": {"keyframes": [{"time": 0, "value": true}]})",
         "parameters.\"Strips Enable\": \"Strips Enable\" cannot change over time"},
        {R"("Offset": {"keyframes": [{"time": 0, "value": 1}, {"time": 1, "value": 101}]})",
         "parameters.\"Offset\".keyframes[1].value: 101 is outside the valid range"},
        {R"("Distortion Along Ramp": [0, 1])", "expected a curve {\"interpolation\""},
        {R"("Distortion Along Ramp": {"interpolation": "cubic", "points": [[0, 1]]})",
         "parameters.\"Distortion Along Ramp\".interpolation: expected \"sin\", \"line\""},
        {R"("Distortion Along Ramp": {"interpolation": "sin", "mode": "some", "points": [[0, 1]]})",
         ".mode: expected \"all\" or \"withoutSin\""},
        {R"("Distortion Along Ramp": {"interpolation": "sin", "points": []})",
         ".points: expected a non-empty array"},
        {R"("Distortion Along Ramp": {"interpolation": "sin", "points": [[0, 1.5]]})",
         ".points[0]: t and v must lie in 0 .. 1"},
        {R"("Distortion Along Ramp": {"interpolation": "sin", "points": [[0.5, 1], [0.5, 0]]})",
         ".points: two points at t = 0.5"},
        {R"("Distortion Along Ramp": {"interpolation": "sin", "points": [[0, 1]], "loop": 1})",
         "unknown key \"loop\""},
    };
    for (const Case& c : cases) {
        const std::string message = ErrorOf(c.parameters);
        EXPECT_NE(std::string::npos, message.find(c.message))
            << "parameters: " << c.parameters << "\nmessage: " << message;
    }
}

TEST(SceneParametersTest, RampsFlattenToTheSavedForm) {
    RampSetting ramp;
    ramp.mode = 1;
    ramp.interpolation = 3;
    ramp.points = {{0.0f, 1.0f}, {0.5f, 0.25f}};
    const std::vector<unsigned char> flat = FlattenRampSetting(ramp);
    const std::vector<unsigned char> expected = {1, 0, 0, 0,    3, 0, 0,    0,
                                                 2, 0, 0, 0,  // mode, interpolation, count
                                                 0, 0, 0, 0,    0, 0, 0x80, 0x3f,   // t 0, v 1
                                                 0, 0, 0, 0x3f, 0, 0, 0x80, 0x3e};  // t 0.5, v 0.25
    EXPECT_EQ(expected, flat);
    EXPECT_EQ(12u, FlattenRampSetting(RampSetting()).size());
}

}  // namespace
