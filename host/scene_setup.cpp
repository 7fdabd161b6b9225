#include "host/scene_setup.h"

#include <cmath>
#include <string>

#include "host/mask_path.h"
#include "host/suites/path_suites.h"

namespace quorvel::host {

namespace {

MaskShape ShapeOf(const std::vector<SceneVertex>& vertices, bool closed) {
    MaskShape shape;
    shape.closed = closed;
    for (const SceneVertex& vertex : vertices) {
        shape.vertices.push_back(
            {{vertex.x, vertex.y}, {vertex.inX, vertex.inY}, {vertex.outX, vertex.outY}});
    }
    return shape;
}

MaskPath PathOf(const SceneMask& mask) {
    MaskPath path;
    path.name = mask.name;
    for (const SceneMaskKey& key : mask.keys) {
        path.keyframes.push_back({key.time, ShapeOf(key.vertices, mask.closed)});
    }
    return path;
}

// The value the host keeps for one checked scene value.
ParamValue HostValue(const ParameterSetting& setting, const ParameterValue& value,
                     const std::vector<PF_PathID>& maskIds) {
    ParamValue hostValue;
    switch (setting.type) {
        case PF_Param_ARBITRARY_DATA:
            hostValue.flatRamp = FlattenRampSetting(value.ramp);
            break;
        case PF_Param_PATH: {
            // The scene counts masks from 1 and 0 is none; the host's path ids.
            const auto mask = static_cast<std::size_t>(value.number);
            hostValue.number = mask == 0 ? 0.0 : static_cast<double>(maskIds[mask - 1]);
            break;
        }
        default:
            hostValue.number = value.number;
            break;
    }
    return hostValue;
}

}  // namespace

HostTime SceneHostTime(const Scene& scene, double seconds) {
    HostTime time;
    time.timeScale = static_cast<A_u_long>(std::lround(scene.frameRate * time.timeStep));
    time.currentTime = static_cast<A_long>(std::llround(seconds * time.timeScale));
    return time;
}

std::vector<ParameterDescription> DescribeEffectParameters(const Parameters& parameters) {
    std::vector<ParameterDescription> descriptions;
    const std::vector<PF_ParamDef> definitions = parameters.Snapshot();
    for (std::size_t index = 0; index < definitions.size(); ++index) {
        descriptions.push_back(
            DescribeParameter(static_cast<PF_ParamIndex>(index), definitions[index]));
    }
    return descriptions;
}

void ApplyScene(Host& host, const Scene& scene) {
    Parameters& parameters = host.effect().parameters();
    const std::vector<ParameterSetting> settings =
        ResolveSceneParameters(scene, DescribeEffectParameters(parameters));

    std::vector<MaskPath> paths;
    for (const SceneMask& mask : scene.masks) {
        paths.push_back(PathOf(mask));
    }
    const std::vector<PF_PathID> maskIds = SetLayerMasks(host, paths, scene.time);

    for (const ParameterSetting& setting : settings) {
        for (const ParameterKey& key : setting.keys) {
            const ParamValue value = HostValue(setting, key.value, maskIds);
            const PF_Err err = setting.keyframed
                                   ? parameters.SetKeyframe(setting.index, key.time, value)
                                   : parameters.SetValue(setting.index, value);
            if (err != PF_Err_NONE) {
                throw SceneError(scene.path + ": parameters.\"" + setting.name +
                                 "\": the host refused the value (error " + std::to_string(err) +
                                 ")");
            }
        }
    }

    InstanceSettings instance = host.effect().Settings();
    const HostTime time = SceneHostTime(scene, scene.time);
    if (scene.width > 0) {
        instance.width = scene.width;
        instance.height = scene.height;
    }
    instance.currentTime = time.currentTime;
    instance.timeStep = time.timeStep;
    instance.timeScale = time.timeScale;
    host.effect().SetSettings(instance);
}

}  // namespace quorvel::host
