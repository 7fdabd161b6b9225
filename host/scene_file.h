#pragma once

#include <string>

#include "host/scene.h"
#include "host/scene_error.h"

namespace quorvel::host {

// Reads a scene from JSON text. path names the file in messages, and image files named by
// the scene are found relative to its folder. Throws SceneError.
Scene ParseScene(const std::string& text, const std::string& path);

// Reads and parses a scene file. Throws SceneError, also when the file cannot be read.
Scene LoadSceneFile(const std::string& path);

// Limits of the values that a scene may hold, so that host times and frame counts fit
// the host's 32-bit fields.
constexpr double kMaxFrameRate = 240.0;
constexpr double kMaxSceneTime = 86400.0;

}  // namespace quorvel::host
