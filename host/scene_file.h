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

// A number for a message, with as many digits as it takes to tell it from its neighbours,
// so that 240.0001 does not read as the limit 240 that it exceeds.
std::string FormatSceneNumber(double value);

// A name or word of the scene as a message quotes it.
std::string Quoted(const std::string& text);

// Limits of the values that a scene may hold, so that host times and frame counts fit
// the host's 32-bit fields. The host counts time in hundredths of a frame, so a rate below
// 0.01 frames a second has no time scale.
constexpr double kMinFrameRate = 0.01;
constexpr double kMaxFrameRate = 240.0;
constexpr double kMaxSceneTime = 86400.0;
// Mask points and tangents, in layer pixels: sixteen times the largest frame's side either
// way, which keeps the host's arc lengths of a path well inside double precision.
constexpr double kMaxMaskCoordinate = 16777216.0;
// Levels of objects and arrays inside one another, the scene's own object included.
constexpr int kMaxSceneNesting = 16;

}  // namespace quorvel::host
