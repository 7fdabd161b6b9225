#pragma once

#include <vector>

#include "host/host.h"
#include "host/scene.h"
#include "host/scene_parameters.h"

namespace quorvel::host {

// A scene time as the host gives it in in_data: frames of the scene's frame rate, each
// time_step = 100 units long, so time_scale is the frame rate times 100 (2500 for 25 frames a
// second, 2997 for 29.97).
struct HostTime {
    A_long currentTime = 0;
    A_long timeStep = 100;
    A_u_long timeScale = 2500;
};

HostTime SceneHostTime(const Scene& scene, double seconds);

// The effect's parameters as a scene sees them, from the definitions the host holds.
std::vector<ParameterDescription> DescribeEffectParameters(const Parameters& parameters);

// Puts a scene into the host after PF_Cmd_PARAMS_SETUP: its masks become the layer's masks (in
// the scene's order, ids from 1; the AEGP suites show them as they are at the scene's time),
// every parameter it sets gets its value or its keyframes,
// and the instance takes the scene's frame size and time. Throws SceneError for a parameter
// the effect does not have or a value it cannot take, naming the place in the scene file.
void ApplyScene(Host& host, const Scene& scene);

}  // namespace quorvel::host
