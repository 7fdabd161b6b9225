#pragma once

#include <stdexcept>
#include <string>

#include "host/image.h"

namespace quorvel::host {

// A file that cannot be read or written; the message names the file and the reason.
class ImageFileError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Reads any image file that OpenImageIO knows into the given depth. Grey images become
// grey colours, images without alpha become opaque, and files that store colour multiplied
// by alpha (EXR, some TIFFs) are divided back, since the host's layers hold plain colour.
Image ReadImageFile(const std::string& path, PixelDepth depth);

// Writes a PNG, TIFF or EXR file, chosen by the file name's extension, in the image's depth
// as far as the format has it: PNG keeps 16 bits for float images (clamped to 0..1), EXR
// stores 8-bit images as half floats and everything else as floats, with colour multiplied
// by alpha as EXR requires.
void WriteImageFile(const std::string& path, const Image& image);

}  // namespace quorvel::host
