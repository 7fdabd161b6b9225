#pragma once

#include <string>

#include "host/host.h"

// The size of the layer in its own pixels.
struct LayerSize {
    int width;
    int height;
};

// The three pictures of an effect whose parameters and layer masks the host holds, written
// into directory: the ramp editors show the ramps' values, the windows the layer's masks and,
// as "Show Masks Names" says, their names. False when a drawing failed (and its picture and
// those after it were not written) or a picture could not be written, whose path is then left in
// unwritten.
bool DrawPictures(quorvel::host::Host& host, const LayerSize& size, const std::string& directory,
                  std::string& unwritten);

// Draws the effect's custom UI through the module into PNG files in directory: the effect
// controls with the nine ramp editors ("effect-controls.png"), and the composition and layer
// windows with the mask names ("composition.png", "layer.png"). Without a scene the editors
// show the ramps' initial curves over two masks of the tool's own; with a scene file they show
// its layer, its masks as they are at its time and its parameter values, with "Show Masks Names"
// on unless the scene sets it. Returns 0 when every picture was drawn and written and the
// host's ledger is balanced, 1 when the module failed. Throws what loading and setting up a
// scene throws (SceneError, ImageFileError, SetupError, HostError), SceneError for a folder
// that does not exist and ImageFileError for a picture that cannot be written.
int DrawUiPictures(const std::string& modulePath, const std::string& directory,
                   const std::string& scenePath = "");
