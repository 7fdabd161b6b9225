#pragma once

#include "host/scene.h"

namespace quorvel::host {

// The scene at factor times its size: the frame (each side rounded, at least 1 pixel) and
// every mask vertex and tangent. Only a test-card layer can be scaled, since an image file
// has its own size; the effect's parameters hold no pixel sizes. Throws SceneError for an
// image layer or a size beyond the layer limits.
void ScaleScene(Scene& scene, double factor);

}  // namespace quorvel::host
