#include "host/scene_scale.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "host/layer_limits.h"
#include "host/scene_error.h"

namespace quorvel::host {

void ScaleScene(Scene& scene, double factor) {
    if (!scene.layer.testCard) {
        throw SceneError(scene.path +
                         ": only a scene with the test card as its layer can be "
                         "scaled; an image layer has its own size");
    }
    const double width = std::max(1.0, std::round(scene.width * factor));
    const double height = std::max(1.0, std::round(scene.height * factor));
    if (!(factor > 0.0) || !IsLayerSizeAllowed(static_cast<long long>(std::min(width, 4e9)),
                                               static_cast<long long>(std::min(height, 4e9)))) {
        throw SceneError(scene.path + ": the scene cannot be scaled by " + std::to_string(factor));
    }
    scene.width = static_cast<int>(width);
    scene.height = static_cast<int>(height);
    for (SceneMask& mask : scene.masks) {
        for (SceneMaskKey& key : mask.keys) {
            for (SceneVertex& vertex : key.vertices) {
                for (double* coordinate :
                     {&vertex.x, &vertex.y, &vertex.inX, &vertex.inY, &vertex.outX, &vertex.outY}) {
                    *coordinate *= factor;
                }
            }
        }
    }
}

}  // namespace quorvel::host
