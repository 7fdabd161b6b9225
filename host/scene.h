#pragma once

#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "host/world.h"

namespace quorvel::host {

// A scene file read into memory: what the command-line renderer and the tests render. The
// parameter values are kept as written until they are checked against the effect's own
// parameter definitions (scene_parameters.h), which only the loaded module knows.

// Where in the scene file a value came from, for messages: "parameters.\"Offset\"".
using SceneLocation = std::string;

// One mask vertex: a point and its two tangents, relative to the point, in layer pixels.
struct SceneVertex {
    double x = 0.0;
    double y = 0.0;
    double inX = 0.0;
    double inY = 0.0;
    double outX = 0.0;
    double outY = 0.0;
};

// The mask's shape from a time on (seconds); shapes of neighbouring keys are interpolated.
struct SceneMaskKey {
    double time = 0.0;
    std::vector<SceneVertex> vertices;
};

// A mask of the layer: a cubic Bezier path, open or closed; a mask that does not move has
// one key.
struct SceneMask {
    std::string name;
    bool closed = false;
    std::vector<SceneMaskKey> keys;
};

// One value of a parameter at a time (seconds), as written in the file.
struct SceneParameterKey {
    double time = 0.0;
    nlohmann::ordered_json value;
    SceneLocation location;
};

// A parameter set by its display name, with one key for a constant value.
struct SceneParameter {
    std::string name;
    bool keyframed = false;
    std::vector<SceneParameterKey> keys;
    SceneLocation location;
};

// The layer's picture: the built-in test card, or an image file (path already resolved
// against the scene file's folder).
struct SceneLayer {
    bool testCard = true;
    std::string imagePath;
};

// The words for a depth in scenes and on the command line: "8", "16", "32" (or "float").
std::optional<Depth> ParseDepth(const std::string& word);
const char* DepthName(Depth depth);

struct Scene {
    std::string path;
    // Frame size; 0 when the scene leaves it to the layer's image.
    int width = 0;
    int height = 0;
    Depth depth = Depth::Bits8;
    double frameRate = 25.0;
    // What to render: one time (seconds), or the frames first..last (inclusive).
    double time = 0.0;
    std::optional<int> firstFrame;
    std::optional<int> lastFrame;
    SceneLayer layer;
    std::vector<SceneMask> masks;
    std::vector<SceneParameter> parameters;
};

}  // namespace quorvel::host
