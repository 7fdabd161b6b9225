#pragma once

#include <memory>
#include <string>

#include "host/image_file.h"
#include "host/world.h"

namespace quorvel::host {

// What of the image files needs OpenImageIO: reading every format and writing EXR. It lives
// in a library of its own, loaded on first use, since loading OpenImageIO and the libraries
// it needs costs a quarter of a second that a run writing PNG or TIFF from the test card
// never has to pay.
struct ImageLibrary {
    // ReadImageFile. The world is the library's (registered with its own copy of the host's
    // worlds): give it back through dispose.
    std::unique_ptr<World> (*read)(const std::string& path, Depth depth);
    void (*dispose)(World* world);
    void (*writeExr)(const std::string& path, const World& world, Compression compression);
};

// The library, loaded on the first call. Throws ImageFileError naming path and what was to
// be done with it ("read", "write") when it cannot be loaded.
const ImageLibrary& LoadImageLibrary(const std::string& path, const char* action);

}  // namespace quorvel::host

// The library's one exported entry point.
extern "C" const quorvel::host::ImageLibrary* QuorvelImageLibrary();
