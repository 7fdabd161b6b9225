#pragma once

#include "host_api/effect.h"
#include "shell/params/param_list.h"

// Parameter positions as the host numbers them: 0 is the input layer, then the parameters in
// the order in which PARAMS_SETUP adds them. PARAM_COUNT, the input included, is what the
// effect reports as out_data->num_params.
enum ParamIndex : int {
    PARAM_INPUT = 0,
#define QUORVEL_PARAM_ENUMERATOR(NAME, SAVED_ID, DISPLAY_NAME, KIND, FIELD, DETAIL) PARAM_##NAME,
    QUORVEL_PARAMETERS(QUORVEL_PARAM_ENUMERATOR)
#undef QUORVEL_PARAM_ENUMERATOR
        PARAM_COUNT
};
static_assert(PARAM_COUNT == 80, "the host stores projects with exactly 80 parameters");

// Whether the parameter at index holds a ramp, whose control is the ramp editor.
constexpr bool IsRampParam(A_long index) {
#define QUORVEL_PARAM_IS_RAMP(NAME, SAVED_ID, DISPLAY_NAME, KIND, FIELD, DETAIL) \
    (PF_Param_##KIND == PF_Param_ARBITRARY_DATA && index == PARAM_##NAME) ||
    return QUORVEL_PARAMETERS(QUORVEL_PARAM_IS_RAMP) false;
#undef QUORVEL_PARAM_IS_RAMP
}

// The definition at index in the host's parameter array of a command, or null when there is
// none. The array is the one the effect declared, PARAM_COUNT long. A host that states a
// shorter length in num_params is believed; one that leaves num_params 0 has stated nothing,
// and its array is taken as declared.
inline PF_ParamDef* ParamAt(const PF_InData* in_data, PF_ParamDef* params[], A_long index) {
    if (params == nullptr || index < 0 || index >= PARAM_COUNT ||
        (in_data->num_params != 0 && index >= in_data->num_params)) {
        return nullptr;
    }
    return params[index];
}

// Popup values count from 1; the renderer's shaders use the same numbers.
enum QuorvelDirection : int {
    QuorvelDirection_AcrossMasks = 1,
    QuorvelDirection_AlongMasks = 2,
};

enum NoiseCoordinates : int {
    NoiseCoordinates_ScreenSpace = 1,
    NoiseCoordinates_Local = 2,
};

enum BackgroundMode : int {
    BackgroundMode_None = 1,
    BackgroundMode_Normal = 2,
    BackgroundMode_Blend = 3,
};

enum TextureFilter : int {
    TextureFilter_Nearest = 1,
    TextureFilter_Linear = 2,
};
