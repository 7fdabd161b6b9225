#pragma once

#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

#include "host/world.h"

namespace quorvel::host {

// A file that cannot be read or written; the message names the file and the reason.
class ImageFileError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Reads any image file that OpenImageIO knows into a world of the given depth. Grey images
// become grey colours, images without alpha become opaque, and files that store colour
// multiplied by alpha (EXR, some TIFFs) are divided back, since the host's layers hold plain
// colour. 16-bit worlds get the host's 0 to 32768 from the file's 0 to 65535.
std::unique_ptr<World> ReadImageFile(const std::string& path, Depth depth);

// How hard WriteImageFile packs the pixels: not at all (the quickest to write), fast (the
// default) or small (the smallest files, the slowest). The pixels read back the same.
enum class Compression { None, Fast, Small };

// The words for a compression on the command line: "none", "fast", "small".
std::optional<Compression> ParseCompression(const std::string& word);

// Writes a PNG, TIFF or EXR file, chosen by the file name's extension, in the world's depth
// as far as the format has it: PNG keeps 16 bits for float worlds (clamped to 0..1), EXR
// stores 8-bit worlds as half floats and everything else as floats, with colour multiplied
// by alpha as EXR requires.
void WriteImageFile(const std::string& path, const World& world,
                    Compression compression = Compression::Fast);

// Whether WriteImageFile writes files of this name: .png, .tif, .tiff or .exr, in any case.
bool IsWritableImageName(const std::string& path);

}  // namespace quorvel::host
