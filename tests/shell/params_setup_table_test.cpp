// Every parameter that PARAMS_SETUP adds, position by position, against a table written out by
// hand: the saved id ties a value in an old project to its parameter, so two ids swapped would
// load the user's values into the wrong parameters even though the set of ids is the same.
#include <algorithm>
#include <cfloat>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

#include "shell/params/param_index.h"
#include "tests/support/module_params.h"

namespace quorvel::testing {
namespace {

// One parameter as the host must see it. The numbers serve the type's own fields: valid and
// slider ranges and the default for sliders, the default alone for checkboxes and popups.
struct ExpectedParam {
    PF_ParamIndex index;
    int enumerator;  // the ParamIndex the code addresses this parameter by
    A_long savedId;
    const char* name;
    PF_ParamType type;
    double validMin;
    double validMax;
    double sliderMin;
    double sliderMax;
    double dephault;
    A_short precision;
    A_short displayFlags;
    PF_ParamFlags flags;
    const char* choices;
};

constexpr PF_ParamType kPath = PF_Param_PATH;
constexpr PF_ParamType kStart = PF_Param_GROUP_START;
constexpr PF_ParamType kEnd = PF_Param_GROUP_END;
constexpr PF_ParamType kFloat = PF_Param_FLOAT_SLIDER;
constexpr PF_ParamType kInt = PF_Param_SLIDER;
constexpr PF_ParamType kCheck = PF_Param_CHECKBOX;
constexpr PF_ParamType kPopup = PF_Param_POPUP;
constexpr PF_ParamType kRamp = PF_Param_ARBITRARY_DATA;
constexpr A_short kPercent = PF_ValueDisplayFlag_PERCENT;
constexpr double kMax = FLT_MAX;
constexpr double kIntMax = 2147483647;
constexpr PF_ParamFlags kCollapse = PF_ParamFlag_COLLAPSE_TWIRLY;
constexpr PF_ParamFlags kNoTime = PF_ParamFlag_CANNOT_TIME_VARY;
constexpr PF_ParamFlags kSupervise = PF_ParamFlag_SUPERVISE;

// clang-format off
const ExpectedParam kExpected[] = {
    // index, enumerator, id, name, type, valid min, max, slider min, max, default, precision,
    // display flags, flags, popup choices
    {1, PARAM_MASK_1, 1, "Mask 1", kPath, 0, 0, 0, 0, 0, 0, 0, 0, nullptr},
    {2, PARAM_MASK_2, 2, "Mask 2", kPath, 0, 0, 0, 0, 0, 0, 0, 0, nullptr},
    {3, PARAM_MESH_SETTINGS_GROUP_START, 3, "Mesh Settings", kStart, 0, 0, 0, 0, 0, 0, 0, 0, nullptr},
    {4, PARAM_MASK_1_BASE_POINTS_DENSITY, 6, "Mask 1 Base Points Density", kRamp, 0, 0, 0, 0, 0, 0, 0, kCollapse, nullptr},
    {5, PARAM_MASK_1_INVERT_PATH_DIRECTION, 7, "Mask 1 Invert Path Direction", kCheck, 0, 0, 0, 0, 0, 0, 0, 0, nullptr},
    {6, PARAM_MASK_2_BASE_POINTS_DENSITY, 8, "Mask 2 Base Points Density", kRamp, 0, 0, 0, 0, 0, 0, 0, kCollapse, nullptr},
    {7, PARAM_MASK_2_INVERT_PATH_DIRECTION, 9, "Mask 2 Invert Path Direction", kCheck, 0, 0, 0, 0, 0, 0, 0, 0, nullptr},
    {8, PARAM_MESH_SETTINGS_GROUP_END, 10, "", kEnd, 0, 0, 0, 0, 0, 0, 0, 0, nullptr},
    {9, PARAM_OFFSET, 75, "Offset", kFloat, 0, 100, 0, 10, 0, 2, kPercent, 0, nullptr},
    {10, PARAM_QUORVEL_FACTOR, 11, "Quorvel Factor", kFloat, 0, kMax, 0, 100, 100, 2, kPercent, 0, nullptr},
    {11, PARAM_QUORVEL_DIRECTION, 12, "Quorvel Direction", kPopup, 0, 0, 0, 0, 2, 0, 0, 0, "Across Masks|Along Masks"},
    {12, PARAM_QUORVEL_REVERSE_DIRECTION, 13, "Quorvel Reverse Direction", kCheck, 0, 0, 0, 0, 0, 0, 0, 0, nullptr},
    {13, PARAM_QUORVEL_RAMP, 14, "Quorvel Ramp", kRamp, 0, 0, 0, 0, 0, 0, 0, kCollapse, nullptr},
    {14, PARAM_QUORVEL_PERPENDICULAR_RAMP, 15, "Quorvel Perpendicular Ramp", kRamp, 0, 0, 0, 0, 0, 0, 0, kCollapse, nullptr},
    {15, PARAM_DISTORTION_GROUP_START, 16, "Distortion", kStart, 0, 0, 0, 0, 0, 0, 0, 0, nullptr},
    {16, PARAM_DISTORTION_NOISE_GROUP_START, 17, "Distortion Noise", kStart, 0, 0, 0, 0, 0, 0, 0, 0, nullptr},
    {17, PARAM_DISTORTION_NOISE_ALONG_FACTOR, 72, "Distortion Noise Along Factor", kFloat, 0, 100, 0, 100, 10, 1, kPercent, 0, nullptr},
    {18, PARAM_DISTORTION_NOISE_ACROSS_FACTOR, 73, "Distortion Noise Across Factor", kFloat, 0, 100, 0, 100, 100, 1, kPercent, 0, nullptr},
    {19, PARAM_DISTORTION_NOISE_COORDINATES, 18, "Distortion Noise Coordinates", kPopup, 0, 0, 0, 0, 2, 0, 0, 0, "Screen Space|Local"},
    {20, PARAM_DISTORTION_NOISE_AMPLITUDE, 19, "Distortion Noise Amplitude", kFloat, 0, kMax, 0, 100, 0, 1, 0, 0, nullptr},
    {21, PARAM_DISTORTION_NOISE_SCALE, 20, "Distortion Noise Scale", kFloat, 0, kMax, 0, 100, 100, 1, kPercent, 0, nullptr},
    {22, PARAM_DISTORTION_NOISE_SCALE_X, 21, "Distortion Noise Scale X", kFloat, 0, kMax, 0, 100, 100, 1, kPercent, 0, nullptr},
    {23, PARAM_DISTORTION_NOISE_SCALE_Y, 22, "Distortion Noise Scale Y", kFloat, 0, kMax, 0, 100, 100, 1, kPercent, 0, nullptr},
    {24, PARAM_DISTORTION_NOISE_OFFSET_X, 23, "Distortion Noise Offset X", kFloat, -kMax, kMax, 0, 100, 0, 1, 0, 0, nullptr},
    {25, PARAM_DISTORTION_NOISE_OFFSET_Y, 24, "Distortion Noise Offset Y", kFloat, -kMax, kMax, 0, 100, 0, 1, 0, 0, nullptr},
    {26, PARAM_DISTORTION_NOISE_EVOLUTION, 25, "Distortion Noise Evolution", kFloat, -kMax, kMax, 0, 100, 0, 1, 0, 0, nullptr},
    {27, PARAM_DISTORTION_NOISE_INNER_OFFSET, 26, "Distortion Noise Inner Offset", kFloat, -kMax, kMax, 0, 100, 0, 1, 0, 0, nullptr},
    {28, PARAM_DISTORTION_NOISE_SEED, 27, "Distortion Noise Seed", kInt, 0, kIntMax, 0, 100, 0, 0, 0, 0, nullptr},
    {29, PARAM_DISTORTION_NOISE_GROUP_END, 28, "", kEnd, 0, 0, 0, 0, 0, 0, 0, 0, nullptr},
    {30, PARAM_DISTORTION_ALONG_RAMP_GROUP_START, 29, "Distortion Along Ramp", kStart, 0, 0, 0, 0, 0, 0, 0, 0, nullptr},
    {31, PARAM_DISTORTION_ALONG_RAMP, 30, "Distortion Along Ramp", kRamp, 0, 0, 0, 0, 0, 0, 0, 0, nullptr},
    {32, PARAM_DISTORTION_ALONG_RAMP_OFFSET, 31, "Distortion Along Ramp Offset", kFloat, -kMax, kMax, -100, 100, 0, 1, kPercent, 0, nullptr},
    {33, PARAM_DISTORTION_ALONG_RAMP_SCALE, 32, "Distortion Along Ramp Scale", kFloat, -kMax, kMax, 0, 100, 100, 1, kPercent, 0, nullptr},
    {34, PARAM_DISTORTION_ALONG_RAMP_LOOP, 33, "Distortion Along Ramp Loop", kCheck, 0, 0, 0, 0, 0, 0, 0, 0, nullptr},
    {35, PARAM_DISTORTION_ALONG_RAMP_GROUP_END, 34, "", kEnd, 0, 0, 0, 0, 0, 0, 0, 0, nullptr},
    {36, PARAM_DISTORTION_ACROSS_RAMP_GROUP_START, 35, "Distortion Across Ramp", kStart, 0, 0, 0, 0, 0, 0, 0, 0, nullptr},
    {37, PARAM_DISTORTION_ACROSS_RAMP, 36, "Distortion Across Ramp", kRamp, 0, 0, 0, 0, 0, 0, 0, 0, nullptr},
    {38, PARAM_DISTORTION_ACROSS_RAMP_OFFSET, 37, "Distortion Across Ramp Offset", kFloat, -kMax, kMax, -100, 100, 0, 1, kPercent, 0, nullptr},
    {39, PARAM_DISTORTION_ACROSS_RAMP_SCALE, 38, "Distortion Across Ramp Scale", kFloat, -kMax, kMax, 0, 100, 100, 1, kPercent, 0, nullptr},
    {40, PARAM_DISTORTION_ACROSS_RAMP_LOOP, 39, "Distortion Across Ramp Loop", kCheck, 0, 0, 0, 0, 0, 0, 0, 0, nullptr},
    {41, PARAM_DISTORTION_ACROSS_RAMP_GROUP_END, 40, "", kEnd, 0, 0, 0, 0, 0, 0, 0, 0, nullptr},
    {42, PARAM_DISTORTION_GROUP_END, 41, "", kEnd, 0, 0, 0, 0, 0, 0, 0, 0, nullptr},
    {43, PARAM_OPACITY_GROUP_START, 42, "Opacity", kStart, 0, 0, 0, 0, 0, 0, 0, 0, nullptr},
    {44, PARAM_OPACITY_ALONG_RAMP_GROUP_START, 95, "Opacity Along Ramp", kStart, 0, 0, 0, 0, 0, 0, 0, 0, nullptr},
    {45, PARAM_OPACITY_ALONG_RAMP, 43, "Opacity Along Ramp", kRamp, 0, 0, 0, 0, 0, 0, 0, 0, nullptr},
    {46, PARAM_OPACITY_ALONG_RAMP_OFFSET, 86, "Opacity Along Ramp Offset", kFloat, -kMax, kMax, -100, 100, 0, 1, kPercent, 0, nullptr},
    {47, PARAM_OPACITY_ALONG_RAMP_SCALE, 87, "Opacity Along Ramp Scale", kFloat, -kMax, kMax, 0, 100, 100, 1, kPercent, 0, nullptr},
    {48, PARAM_OPACITY_ALONG_RAMP_LOOP, 88, "Opacity Along Ramp Loop", kCheck, 0, 0, 0, 0, 0, 0, 0, 0, nullptr},
    {49, PARAM_OPACITY_ALONG_RAMP_GROUP_END, 89, "", kEnd, 0, 0, 0, 0, 0, 0, 0, 0, nullptr},
    {50, PARAM_OPACITY_ACROSS_RAMP_GROUP_START, 96, "Opacity Across Ramp", kStart, 0, 0, 0, 0, 0, 0, 0, 0, nullptr},
    {51, PARAM_OPACITY_ACROSS_RAMP, 44, "Opacity Across Ramp", kRamp, 0, 0, 0, 0, 0, 0, 0, 0, nullptr},
    {52, PARAM_OPACITY_ACROSS_RAMP_OFFSET, 91, "Opacity Across Ramp Offset", kFloat, -kMax, kMax, -100, 100, 0, 1, kPercent, 0, nullptr},
    {53, PARAM_OPACITY_ACROSS_RAMP_SCALE, 92, "Opacity Across Ramp Scale", kFloat, -kMax, kMax, 0, 100, 100, 1, kPercent, 0, nullptr},
    {54, PARAM_OPACITY_ACROSS_RAMP_LOOP, 93, "Opacity Across Ramp Loop", kCheck, 0, 0, 0, 0, 0, 0, 0, 0, nullptr},
    {55, PARAM_OPACITY_ACROSS_RAMP_GROUP_END, 94, "", kEnd, 0, 0, 0, 0, 0, 0, 0, 0, nullptr},
    {56, PARAM_OPACITY_GROUP_END, 45, "", kEnd, 0, 0, 0, 0, 0, 0, 0, 0, nullptr},
    {57, PARAM_STRIPS_GROUP_START, 63, "Strips", kStart, 0, 0, 0, 0, 0, 0, 0, 0, nullptr},
    {58, PARAM_STRIPS_ENABLE, 71, "Strips Enable", kCheck, 0, 0, 0, 0, 0, 0, 0, kSupervise | kNoTime, nullptr},
    {59, PARAM_STRIPS_COUNT, 69, "Strips Count", kInt, 2, kIntMax, 0, 100, 100, 0, 0, 0, nullptr},
    {60, PARAM_STRIPS_RANDOM_FACTOR, 64, "Strips Random Factor", kFloat, 0, kMax, 0, 10, 30, 1, kPercent, 0, nullptr},
    {61, PARAM_STRIPS_RANDOM_SEED, 65, "Strips Random Seed", kInt, 0, kIntMax, 0, 100, 0, 0, 0, 0, nullptr},
    {62, PARAM_STRIPS_DISTRIBUTION, 70, "Strips Distribution", kRamp, 0, 0, 0, 0, 0, 0, 0, kCollapse, nullptr},
    {63, PARAM_STRIPS_GROUP_END, 67, "", kEnd, 0, 0, 0, 0, 0, 0, 0, 0, nullptr},
    {64, PARAM_ANIMATION_GROUP_START, 76, "Animation", kStart, 0, 0, 0, 0, 0, 0, 0, 0, nullptr},
    {65, PARAM_ANIMATE, 83, "Animate", kCheck, 0, 0, 0, 0, 0, 0, 0, 0, nullptr},
    {66, PARAM_MANUAL_ANIMATION, 77, "Manual Animation", kFloat, -kMax, kMax, 0, 100, 0, 1, kPercent, 0, nullptr},
    {67, PARAM_ANIMATION_SPEED, 84, "Animation Speed", kFloat, -kMax, kMax, 0, 100, 100, 1, kPercent, 0, nullptr},
    {68, PARAM_LOOP_MESH_PART, 78, "Loop Mesh Part", kFloat, 0, 100, 0, 1, 1, 1, kPercent, 0, nullptr},
    {69, PARAM_ANIMATION_GROUP_END, 80, "", kEnd, 0, 0, 0, 0, 0, 0, 0, 0, nullptr},
    {70, PARAM_RENDER_GROUP_START, 46, "Render", kStart, 0, 0, 0, 0, 0, 0, 0, 0, nullptr},
    {71, PARAM_MULTISAMPLE_ANTI_ALIASING, 54, "Multisample Anti-aliasing", kCheck, 0, 0, 0, 0, 1, 0, 0, 0, nullptr},
    {72, PARAM_TEXTURE_NICER, 53, "Texture Nicer", kCheck, 0, 0, 0, 0, 0, 0, 0, 0, nullptr},
    {73, PARAM_BACKGROUND_BLEND_MODE, 51, "Background Blend Mode", kPopup, 0, 0, 0, 0, 2, 0, 0, 0, "None|Normal|Blend"},
    {74, PARAM_TEXTURE_FILTER, 82, "Texture Filter", kPopup, 0, 0, 0, 0, 2, 0, 0, 0, "Nearest|Linear"},
    {75, PARAM_PREVIEW_WIREFRAME_MESH, 48, "Preview Wireframe Mesh", kCheck, 0, 0, 0, 0, 0, 0, 0, 0, nullptr},
    {76, PARAM_ACROSS_BASE_POINTS, 4, "Across Base Points", kInt, 2, 200, 2, 100, 25, 0, 0, 0, nullptr},
    {77, PARAM_ALONG_BASE_POINTS, 5, "Along Base Points", kInt, 2, 1000, 2, 1000, 100, 0, 0, 0, nullptr},
    {78, PARAM_SHOW_MASKS_NAMES, 49, "Show Masks Names", kCheck, 0, 0, 0, 0, 0, 0, 0, kNoTime, nullptr},
    {79, PARAM_RENDER_GROUP_END, 50, "", kEnd, 0, 0, 0, 0, 0, 0, 0, 0, nullptr},
};
// clang-format on

// The type's own fields of one definition, as the host received them.
void ExpectTypeFields(const ExpectedParam& row, const PF_ParamDef& def) {
    switch (row.type) {
        case PF_Param_FLOAT_SLIDER: {
            const PF_FloatSliderDef& fs = def.u.fs_d;
            EXPECT_EQ(fs.valid_min, static_cast<float>(row.validMin));
            EXPECT_EQ(fs.valid_max, static_cast<float>(row.validMax));
            EXPECT_EQ(fs.slider_min, static_cast<float>(row.sliderMin));
            EXPECT_EQ(fs.slider_max, static_cast<float>(row.sliderMax));
            EXPECT_EQ(fs.dephault, static_cast<float>(row.dephault));
            EXPECT_EQ(fs.value, row.dephault);
            EXPECT_EQ(fs.precision, row.precision);
            EXPECT_EQ(fs.display_flags, row.displayFlags);
            EXPECT_EQ(fs.curve_tolerance, 0.05f);
            EXPECT_EQ(fs.phase, 0.0);
            EXPECT_EQ(fs.fs_flags, 0u);
            break;
        }
        case PF_Param_SLIDER:
            EXPECT_EQ(def.u.sd.valid_min, static_cast<A_long>(row.validMin));
            EXPECT_EQ(def.u.sd.valid_max, static_cast<A_long>(row.validMax));
            EXPECT_EQ(def.u.sd.slider_min, static_cast<A_long>(row.sliderMin));
            EXPECT_EQ(def.u.sd.slider_max, static_cast<A_long>(row.sliderMax));
            EXPECT_EQ(def.u.sd.dephault, static_cast<A_long>(row.dephault));
            EXPECT_EQ(def.u.sd.value, static_cast<A_long>(row.dephault));
            break;
        case PF_Param_CHECKBOX:
            EXPECT_EQ(def.u.bd.dephault, static_cast<PF_Boolean>(row.dephault));
            EXPECT_EQ(def.u.bd.value, static_cast<A_long>(row.dephault));
            ASSERT_NE(def.u.bd.u.nameptr, nullptr);
            EXPECT_STREQ(def.u.bd.u.nameptr, "");
            break;
        case PF_Param_POPUP: {
            EXPECT_EQ(def.u.pd.dephault, static_cast<A_short>(row.dephault));
            EXPECT_EQ(def.u.pd.value, static_cast<A_long>(row.dephault));
            ASSERT_NE(def.u.pd.u.namesptr, nullptr);
            const std::string choices = row.choices;
            EXPECT_EQ(def.u.pd.u.namesptr, choices);
            EXPECT_EQ(def.u.pd.num_choices, 1 + std::count(choices.begin(), choices.end(), '|'));
            break;
        }
        default:
            break;
    }
}

using ParamsSetupTableTest = ParamsModuleTest;

TEST_F(ParamsSetupTableTest, EveryPositionHasItsSavedIdNameTypeAndSettings) {
    ASSERT_EQ(SendParamsSetup().err, PF_Err_NONE);
    ASSERT_EQ(parameters().Count(), 80);
    ASSERT_EQ(std::size(kExpected), 79u);
    for (size_t row = 0; row < std::size(kExpected); ++row) {
        const ExpectedParam& expected = kExpected[row];
        SCOPED_TRACE(::testing::Message() << "index " << expected.index << " " << expected.name);
        ASSERT_EQ(expected.index, static_cast<PF_ParamIndex>(row + 1)) << "table out of order";
        EXPECT_EQ(expected.enumerator, expected.index);
        const PF_ParamDef def = parameters().At(expected.index);
        EXPECT_EQ(def.uu.id, expected.savedId);
        EXPECT_STREQ(def.name, expected.name);
        EXPECT_EQ(def.param_type, expected.type);
        EXPECT_EQ(def.flags, expected.flags);
        const bool ramp = expected.type == PF_Param_ARBITRARY_DATA;
        EXPECT_EQ(def.ui_flags, ramp ? PF_PUI_CONTROL | PF_PUI_DONT_ERASE_CONTROL : 0);
        EXPECT_EQ(def.ui_width, ramp ? 150 : 0);
        EXPECT_EQ(def.ui_height, ramp ? 140 : 0);
        ExpectTypeFields(expected, def);
    }
}

}  // namespace
}  // namespace quorvel::testing
