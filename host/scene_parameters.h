#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "host/scene.h"
#include "host/scene_error.h"
#include "host_api/effect.h"

namespace quorvel::host {

// What a scene needs to know of one of the effect's parameters, taken from the definition
// that the effect added at PARAMS_SETUP.
struct ParameterDescription {
    PF_ParamIndex index = 0;
    std::string name;
    PF_ParamType type = PF_Param_NO_DATA;
    double validMin = 0.0;
    double validMax = 0.0;
    std::vector<std::string> choices;
    bool canTimeVary = true;
};

ParameterDescription DescribeParameter(PF_ParamIndex index, const PF_ParamDef& definition);

// A curve value of a ramp parameter, in the words of the ramp's text form.
struct RampSetting {
    std::int32_t mode = 0;
    std::int32_t interpolation = 0;
    std::vector<std::pair<float, float>> points;
};

// The ramp's saved form (mode, interpolation, count, then t and v of each point, all
// little-endian 32-bit), which the effect's UNFLATTEN callback turns into a ramp value.
std::vector<unsigned char> FlattenRampSetting(const RampSetting& ramp);

// One checked value: sliders, checkboxes (0 or 1) and popups (choice counted from 1) in
// number; a path as the 1-based index of the scene's mask (0 for none); a ramp in ramp.
struct ParameterValue {
    double number = 0.0;
    RampSetting ramp;
};

struct ParameterKey {
    double time = 0.0;
    ParameterValue value;
};

// A scene parameter matched to the effect's parameter, with its checked values; one key
// unless keyframed.
struct ParameterSetting {
    PF_ParamIndex index = 0;
    PF_ParamType type = PF_Param_NO_DATA;
    std::string name;
    bool keyframed = false;
    std::vector<ParameterKey> keys;
};

// Matches every parameter of the scene to the effect's parameter of that display name and
// checks its values: kind, range, choice, mask name, whether it may change over time.
// Throws SceneError naming the place in the scene file.
std::vector<ParameterSetting> ResolveSceneParameters(
    const Scene& scene, const std::vector<ParameterDescription>& parameters);

}  // namespace quorvel::host
