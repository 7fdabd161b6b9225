#pragma once

// The effect's parameters in the order in which PARAMS_SETUP adds them (index 1 onwards;
// index 0 is the host's input layer). This list is the one source of the parameter indices,
// the saved ids, the display names, the types, the snapshot fields and the set-up details;
// everything else is expanded from it.
//
// X(NAME, SAVED_ID, DISPLAY_NAME, KIND, SNAPSHOT_FIELD, DETAIL)
//   NAME            `PARAM_<NAME>` in ParamIndex
//   SAVED_ID        the id under which the host stores the parameter in projects; never change
//   DISPLAY_NAME    at most 31 characters; group ends have none
//   KIND            the host's type, `PF_Param_<KIND>`
//   SNAPSHOT_FIELD  the RenderSettings field of a value parameter (`none` for groups)
//   DETAIL          ranges, defaults and flags, spelled with the builders of param_table.cpp
//
// Saved ids 47, 52, 55 to 62, 66, 68, 74, 79, 81, 85 and 90 belonged to parameters that
// are gone; they must not be given out again, or old projects would load the wrong values.

// clang-format off
#define QUORVEL_PARAMETERS(X)                                                                                                                                                                      \
    X(MASK_1,                             1,  "Mask 1",                         PATH,           mask1PathId,                 PathDetail())                                                         \
    X(MASK_2,                             2,  "Mask 2",                         PATH,           mask2PathId,                 PathDetail())                                                         \
    X(MESH_SETTINGS_GROUP_START,          3,  "Mesh Settings",                  GROUP_START,    none,                        GroupDetail())                                                        \
    X(MASK_1_BASE_POINTS_DENSITY,         6,  "Mask 1 Base Points Density",     ARBITRARY_DATA, mask1BasePointsDensity,      RampDetail(kCollapseTwirly, kDensityCurve))                           \
    X(MASK_1_INVERT_PATH_DIRECTION,       7,  "Mask 1 Invert Path Direction",   CHECKBOX,       mask1InvertPathDirection,    CheckboxDetail(false, 0))                                             \
    X(MASK_2_BASE_POINTS_DENSITY,         8,  "Mask 2 Base Points Density",     ARBITRARY_DATA, mask2BasePointsDensity,      RampDetail(kCollapseTwirly, kDensityCurve))                           \
    X(MASK_2_INVERT_PATH_DIRECTION,       9,  "Mask 2 Invert Path Direction",   CHECKBOX,       mask2InvertPathDirection,    CheckboxDetail(false, 0))                                             \
    X(MESH_SETTINGS_GROUP_END,            10, "",                               GROUP_END,      none,                        GroupDetail())                                                        \
    X(OFFSET,                             75, "Offset",                         FLOAT_SLIDER,   offset,                      FloatDetail({0, 100}, {0, 10}, 0, 2, kPercent))                       \
    X(QUORVEL_FACTOR,                     11, "Quorvel Factor",                 FLOAT_SLIDER,   quorvelFactor,               FloatDetail({0, FLT_MAX}, {0, 100}, 100, 2, kPercent))                \
    X(QUORVEL_DIRECTION,                  12, "Quorvel Direction",              POPUP,          quorvelDirection,            PopupDetail("Across Masks|Along Masks", QuorvelDirection_AlongMasks)) \
    X(QUORVEL_REVERSE_DIRECTION,          13, "Quorvel Reverse Direction",      CHECKBOX,       quorvelReverseDirection,     CheckboxDetail(false, 0))                                             \
    X(QUORVEL_RAMP,                       14, "Quorvel Ramp",                   ARBITRARY_DATA, quorvelRamp,                 RampDetail(kCollapseTwirly, kQuorvelCurve))                           \
    X(QUORVEL_PERPENDICULAR_RAMP,         15, "Quorvel Perpendicular Ramp",     ARBITRARY_DATA, quorvelPerpendicularRamp,    RampDetail(kCollapseTwirly, kPerpendicularCurve))                     \
    X(DISTORTION_GROUP_START,             16, "Distortion",                     GROUP_START,    none,                        GroupDetail())                                                        \
    X(DISTORTION_NOISE_GROUP_START,       17, "Distortion Noise",               GROUP_START,    none,                        GroupDetail())                                                        \
    X(DISTORTION_NOISE_ALONG_FACTOR,      72, "Distortion Noise Along Factor",  FLOAT_SLIDER,   distortionNoiseAlongFactor,  FloatDetail({0, 100}, {0, 100}, 10, 1, kPercent))                     \
    X(DISTORTION_NOISE_ACROSS_FACTOR,     73, "Distortion Noise Across Factor", FLOAT_SLIDER,   distortionNoiseAcrossFactor, FloatDetail({0, 100}, {0, 100}, 100, 1, kPercent))                    \
    X(DISTORTION_NOISE_COORDINATES,       18, "Distortion Noise Coordinates",   POPUP,          distortionNoiseCoordinates,  PopupDetail("Screen Space|Local", NoiseCoordinates_Local))            \
    X(DISTORTION_NOISE_AMPLITUDE,         19, "Distortion Noise Amplitude",     FLOAT_SLIDER,   distortionNoiseAmplitude,    FloatDetail({0, FLT_MAX}, {0, 100}, 0, 1, kPlain))                    \
    X(DISTORTION_NOISE_SCALE,             20, "Distortion Noise Scale",         FLOAT_SLIDER,   distortionNoiseScale,        FloatDetail({0, FLT_MAX}, {0, 100}, 100, 1, kPercent))                \
    X(DISTORTION_NOISE_SCALE_X,           21, "Distortion Noise Scale X",       FLOAT_SLIDER,   distortionNoiseScaleX,       FloatDetail({0, FLT_MAX}, {0, 100}, 100, 1, kPercent))                \
    X(DISTORTION_NOISE_SCALE_Y,           22, "Distortion Noise Scale Y",       FLOAT_SLIDER,   distortionNoiseScaleY,       FloatDetail({0, FLT_MAX}, {0, 100}, 100, 1, kPercent))                \
    X(DISTORTION_NOISE_OFFSET_X,          23, "Distortion Noise Offset X",      FLOAT_SLIDER,   distortionNoiseOffsetX,      FloatDetail({-FLT_MAX, FLT_MAX}, {0, 100}, 0, 1, kPlain))             \
    X(DISTORTION_NOISE_OFFSET_Y,          24, "Distortion Noise Offset Y",      FLOAT_SLIDER,   distortionNoiseOffsetY,      FloatDetail({-FLT_MAX, FLT_MAX}, {0, 100}, 0, 1, kPlain))             \
    X(DISTORTION_NOISE_EVOLUTION,         25, "Distortion Noise Evolution",     FLOAT_SLIDER,   distortionNoiseEvolution,    FloatDetail({-FLT_MAX, FLT_MAX}, {0, 100}, 0, 1, kPlain))             \
    X(DISTORTION_NOISE_INNER_OFFSET,      26, "Distortion Noise Inner Offset",  FLOAT_SLIDER,   distortionNoiseInnerOffset,  FloatDetail({-FLT_MAX, FLT_MAX}, {0, 100}, 0, 1, kPlain))             \
    X(DISTORTION_NOISE_SEED,              27, "Distortion Noise Seed",          SLIDER,         distortionNoiseSeed,         IntDetail({0, 2147483647}, {0, 100}, 0))                              \
    X(DISTORTION_NOISE_GROUP_END,         28, "",                               GROUP_END,      none,                        GroupDetail())                                                        \
    X(DISTORTION_ALONG_RAMP_GROUP_START,  29, "Distortion Along Ramp",          GROUP_START,    none,                        GroupDetail())                                                        \
    X(DISTORTION_ALONG_RAMP,              30, "Distortion Along Ramp",          ARBITRARY_DATA, distortionAlongRamp,         RampDetail(0, kDistortionAlongCurve))                                 \
    X(DISTORTION_ALONG_RAMP_OFFSET,       31, "Distortion Along Ramp Offset",   FLOAT_SLIDER,   distortionAlongRampOffset,   FloatDetail({-FLT_MAX, FLT_MAX}, {-100, 100}, 0, 1, kPercent))        \
    X(DISTORTION_ALONG_RAMP_SCALE,        32, "Distortion Along Ramp Scale",    FLOAT_SLIDER,   distortionAlongRampScale,    FloatDetail({-FLT_MAX, FLT_MAX}, {0, 100}, 100, 1, kPercent))         \
    X(DISTORTION_ALONG_RAMP_LOOP,         33, "Distortion Along Ramp Loop",     CHECKBOX,       distortionAlongRampLoop,     CheckboxDetail(false, 0))                                             \
    X(DISTORTION_ALONG_RAMP_GROUP_END,    34, "",                               GROUP_END,      none,                        GroupDetail())                                                        \
    X(DISTORTION_ACROSS_RAMP_GROUP_START, 35, "Distortion Across Ramp",         GROUP_START,    none,                        GroupDetail())                                                        \
    X(DISTORTION_ACROSS_RAMP,             36, "Distortion Across Ramp",         ARBITRARY_DATA, distortionAcrossRamp,        RampDetail(0, kFullCurve))                                            \
    X(DISTORTION_ACROSS_RAMP_OFFSET,      37, "Distortion Across Ramp Offset",  FLOAT_SLIDER,   distortionAcrossRampOffset,  FloatDetail({-FLT_MAX, FLT_MAX}, {-100, 100}, 0, 1, kPercent))        \
    X(DISTORTION_ACROSS_RAMP_SCALE,       38, "Distortion Across Ramp Scale",   FLOAT_SLIDER,   distortionAcrossRampScale,   FloatDetail({-FLT_MAX, FLT_MAX}, {0, 100}, 100, 1, kPercent))         \
    X(DISTORTION_ACROSS_RAMP_LOOP,        39, "Distortion Across Ramp Loop",    CHECKBOX,       distortionAcrossRampLoop,    CheckboxDetail(false, 0))                                             \
    X(DISTORTION_ACROSS_RAMP_GROUP_END,   40, "",                               GROUP_END,      none,                        GroupDetail())                                                        \
    X(DISTORTION_GROUP_END,               41, "",                               GROUP_END,      none,                        GroupDetail())                                                        \
    X(OPACITY_GROUP_START,                42, "Opacity",                        GROUP_START,    none,                        GroupDetail())                                                        \
    X(OPACITY_ALONG_RAMP_GROUP_START,     95, "Opacity Along Ramp",             GROUP_START,    none,                        GroupDetail())                                                        \
    X(OPACITY_ALONG_RAMP,                 43, "Opacity Along Ramp",             ARBITRARY_DATA, opacityAlongRamp,            RampDetail(0, kFullCurve))                                            \
    X(OPACITY_ALONG_RAMP_OFFSET,          86, "Opacity Along Ramp Offset",      FLOAT_SLIDER,   opacityAlongRampOffset,      FloatDetail({-FLT_MAX, FLT_MAX}, {-100, 100}, 0, 1, kPercent))        \
    X(OPACITY_ALONG_RAMP_SCALE,           87, "Opacity Along Ramp Scale",       FLOAT_SLIDER,   opacityAlongRampScale,       FloatDetail({-FLT_MAX, FLT_MAX}, {0, 100}, 100, 1, kPercent))         \
    X(OPACITY_ALONG_RAMP_LOOP,            88, "Opacity Along Ramp Loop",        CHECKBOX,       opacityAlongRampLoop,        CheckboxDetail(false, 0))                                             \
    X(OPACITY_ALONG_RAMP_GROUP_END,       89, "",                               GROUP_END,      none,                        GroupDetail())                                                        \
    X(OPACITY_ACROSS_RAMP_GROUP_START,    96, "Opacity Across Ramp",            GROUP_START,    none,                        GroupDetail())                                                        \
    X(OPACITY_ACROSS_RAMP,                44, "Opacity Across Ramp",            ARBITRARY_DATA, opacityAcrossRamp,           RampDetail(0, kFullCurve))                                            \
    X(OPACITY_ACROSS_RAMP_OFFSET,         91, "Opacity Across Ramp Offset",     FLOAT_SLIDER,   opacityAcrossRampOffset,     FloatDetail({-FLT_MAX, FLT_MAX}, {-100, 100}, 0, 1, kPercent))        \
    X(OPACITY_ACROSS_RAMP_SCALE,          92, "Opacity Across Ramp Scale",      FLOAT_SLIDER,   opacityAcrossRampScale,      FloatDetail({-FLT_MAX, FLT_MAX}, {0, 100}, 100, 1, kPercent))         \
    X(OPACITY_ACROSS_RAMP_LOOP,           93, "Opacity Across Ramp Loop",       CHECKBOX,       opacityAcrossRampLoop,       CheckboxDetail(false, 0))                                             \
    X(OPACITY_ACROSS_RAMP_GROUP_END,      94, "",                               GROUP_END,      none,                        GroupDetail())                                                        \
    X(OPACITY_GROUP_END,                  45, "",                               GROUP_END,      none,                        GroupDetail())                                                        \
    X(STRIPS_GROUP_START,                 63, "Strips",                         GROUP_START,    none,                        GroupDetail())                                                        \
    X(STRIPS_ENABLE,                      71, "Strips Enable",                  CHECKBOX,       stripsEnable,                CheckboxDetail(false, kSupervise | kCannotTimeVary))                  \
    X(STRIPS_COUNT,                       69, "Strips Count",                   SLIDER,         stripsCount,                 IntDetail({2, 2147483647}, {0, 100}, 100))                            \
    X(STRIPS_RANDOM_FACTOR,               64, "Strips Random Factor",           FLOAT_SLIDER,   stripsRandomFactor,          FloatDetail({0, FLT_MAX}, {0, 10}, 30, 1, kPercent))                  \
    X(STRIPS_RANDOM_SEED,                 65, "Strips Random Seed",             SLIDER,         stripsRandomSeed,            IntDetail({0, 2147483647}, {0, 100}, 0))                              \
    X(STRIPS_DISTRIBUTION,                70, "Strips Distribution",            ARBITRARY_DATA, stripsDistribution,          RampDetail(kCollapseTwirly, kDensityCurve))                           \
    X(STRIPS_GROUP_END,                   67, "",                               GROUP_END,      none,                        GroupDetail())                                                        \
    X(ANIMATION_GROUP_START,              76, "Animation",                      GROUP_START,    none,                        GroupDetail())                                                        \
    X(ANIMATE,                            83, "Animate",                        CHECKBOX,       animate,                     CheckboxDetail(false, 0))                                             \
    X(MANUAL_ANIMATION,                   77, "Manual Animation",               FLOAT_SLIDER,   manualAnimation,             FloatDetail({-FLT_MAX, FLT_MAX}, {0, 100}, 0, 1, kPercent))           \
    X(ANIMATION_SPEED,                    84, "Animation Speed",                FLOAT_SLIDER,   animationSpeed,              FloatDetail({-FLT_MAX, FLT_MAX}, {0, 100}, 100, 1, kPercent))         \
    X(LOOP_MESH_PART,                     78, "Loop Mesh Part",                 FLOAT_SLIDER,   loopMeshPart,                FloatDetail({0, 100}, {0, 1}, 1, 1, kPercent))                        \
    X(ANIMATION_GROUP_END,                80, "",                               GROUP_END,      none,                        GroupDetail())                                                        \
    X(RENDER_GROUP_START,                 46, "Render",                         GROUP_START,    none,                        GroupDetail())                                                        \
    X(MULTISAMPLE_ANTI_ALIASING,          54, "Multisample Anti-aliasing",      CHECKBOX,       multisampleAntiAliasing,     CheckboxDetail(true, 0))                                              \
    X(TEXTURE_NICER,                      53, "Texture Nicer",                  CHECKBOX,       textureNicer,                CheckboxDetail(false, 0))                                             \
    X(BACKGROUND_BLEND_MODE,              51, "Background Blend Mode",          POPUP,          backgroundBlendMode,         PopupDetail("None|Normal|Blend", BackgroundMode_Normal))              \
    X(TEXTURE_FILTER,                     82, "Texture Filter",                 POPUP,          textureFilter,               PopupDetail("Nearest|Linear", TextureFilter_Linear))                  \
    X(PREVIEW_WIREFRAME_MESH,             48, "Preview Wireframe Mesh",         CHECKBOX,       previewWireframeMesh,        CheckboxDetail(false, 0))                                             \
    X(ACROSS_BASE_POINTS,                 4,  "Across Base Points",             SLIDER,         acrossBasePoints,            IntDetail({2, 200}, {2, 100}, 25))                                    \
    X(ALONG_BASE_POINTS,                  5,  "Along Base Points",              SLIDER,         alongBasePoints,             IntDetail({2, 1000}, {2, 1000}, 100))                                 \
    X(SHOW_MASKS_NAMES,                   49, "Show Masks Names",               CHECKBOX,       showMasksNames,              CheckboxDetail(false, kCannotTimeVary))                               \
    X(RENDER_GROUP_END,                   50, "",                               GROUP_END,      none,                        GroupDetail())
// clang-format on
