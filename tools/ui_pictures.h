#pragma once

#include <string>

// Draws the effect's custom UI through the module into PNG files in directory: the effect
// controls with the nine ramp editors ("effect-controls.png"), and the composition and layer
// windows with the mask names over two masks ("composition.png", "layer.png"). Returns 0
// when every picture was drawn and written and the host's ledger is balanced.
int DrawUiPictures(const std::string& modulePath, const std::string& directory);
