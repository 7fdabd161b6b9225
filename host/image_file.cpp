#include "host/image_file.h"
#include "host/image_library.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cctype>
#include <cstddef>
#include <memory>
#include <vector>

#include <OpenImageIO/imageio.h>

#include "host/layer_limits.h"

namespace quorvel::host {

namespace {

using OIIO::TypeDesc;

std::string OiioMessage(const std::string& message) {
    return message.empty() ? std::string("unknown error") : message;
}

// The channels of a file that a layer's pixel needs: the colour (grey, or red, green and
// blue) and alpha, if any. They are read as one run from the first channel, so that each row
// is decoded once; the channels after them are left unread.
struct LayerChannels {
    explicit LayerChannels(const OIIO::ImageSpec& imageSpec)
        : colourCount(imageSpec.nchannels >= 3 ? 3 : 1), alpha(imageSpec.alpha_channel) {
        if (alpha < 0 && (imageSpec.nchannels == 2 || imageSpec.nchannels >= 4)) {
            alpha = imageSpec.nchannels == 2 ? 1 : 3;
        }
        alpha = alpha < imageSpec.nchannels ? alpha : -1;
    }

    int Count() const { return std::max(colourCount, alpha + 1); }

    // The colour of one pixel of the run, in the host's order (alpha, red, green, blue) with
    // 1.0 as full scale.
    PixelValue Color(const float* run) const {
        const float opacity = alpha >= 0 ? run[alpha] : 1.0f;
        if (colourCount == 3) {
            return {opacity, run[0], run[1], run[2]};
        }
        return {opacity, run[0], run[0], run[0]};
    }

    int colourCount;
    int alpha;
};

// Why the host does not read an image of this header into a world of depth; empty when it
// does. A header costs a few bytes, so what it claims is bounded before any pixel memory is
// made: the frame's worlds, and the pixels as stored, whatever a codec decodes at once.
std::string SizeProblem(const OIIO::ImageSpec& imageSpec, Depth depth) {
    if (imageSpec.deep || imageSpec.nchannels < 1 || imageSpec.depth > 1) {
        return "not a flat 2D image";
    }
    if (!IsLayerSizeAllowed(imageSpec.width, imageSpec.height)) {
        return "its size " + std::to_string(imageSpec.width) + " x " +
               std::to_string(imageSpec.height) + " is not supported";
    }
    const long long storedBytes = static_cast<long long>(imageSpec.image_bytes(true));
    if (storedBytes > kMaxFrameBytes) {
        return "its " + std::to_string(imageSpec.nchannels) + " channels of " +
               std::to_string(imageSpec.width) + " x " + std::to_string(imageSpec.height) +
               " pixels take " + std::to_string(Mebibytes(storedBytes)) +
               " MiB as stored, more than the " + std::to_string(Mebibytes(kMaxFrameBytes)) +
               " MiB the host gives a frame";
    }
    return FrameMemoryProblem(imageSpec.width, imageSpec.height, depth);
}

// Rows read at once are kept to about this many bytes, as read and as the file stores them;
// tiles are read in whole rows of tiles.
int RowsAtOnce(const OIIO::ImageSpec& imageSpec, const LayerChannels& channels) {
    constexpr long long kReadBytes = 16LL << 20;
    const long long rowBytes =
        std::max<long long>(sizeof(float) * channels.Count() * imageSpec.width,
                            static_cast<long long>(imageSpec.scanline_bytes(true)));
    const long long step = imageSpec.tile_width > 0 ? std::max(imageSpec.tile_height, 1) : 1;
    return static_cast<int>(
        std::min<long long>(std::max(kReadBytes / rowBytes / step, 1LL) * step, imageSpec.height));
}

// Rows [first, first + count) of the run of channels, as floats.
bool ReadRows(OIIO::ImageInput& input, const LayerChannels& channels, int first, int count,
              float* run) {
    const OIIO::ImageSpec& imageSpec = input.spec();
    const int y = imageSpec.y + first;
    if (imageSpec.tile_width > 0) {
        return input.read_tiles(0, 0, imageSpec.x, imageSpec.x + imageSpec.width, y, y + count,
                                imageSpec.z, imageSpec.z + 1, 0, channels.Count(), TypeDesc::FLOAT,
                                run);
    }
    return input.read_scanlines(0, 0, y, y + count, imageSpec.z, 0, channels.Count(),
                                TypeDesc::FLOAT, run);
}

void Unpremultiply(PixelValue& color) {
    if (color[0] > 0.0f) {
        for (int c = 1; c < 4; ++c) {
            color[c] /= color[0];
        }
    }
}

// From 1.0 as full scale to the depth's own units; integer depths take NaN as 0.
PixelValue ToDepth(PixelValue color, Depth depth) {
    const float white = WhiteOf(depth);
    for (float& channel : color) {
        channel = depth != Depth::Float && std::isnan(channel) ? 0.0f : channel * white;
    }
    return color;
}

}  // namespace

std::unique_ptr<World> ReadImageFile(const std::string& path, Depth depth) {
    const auto fail = [&path](const std::string& reason) {
        throw ImageFileError("cannot read image '" + path + "': " + reason);
    };
    OIIO::ImageSpec config;
    config.attribute("oiio:UnassociatedAlpha", 1);
    std::unique_ptr<OIIO::ImageInput> input = OIIO::ImageInput::open(path, &config);
    if (!input) {
        fail(OiioMessage(OIIO::geterror()));
    }
    const OIIO::ImageSpec& imageSpec = input->spec();
    const std::string problem = SizeProblem(imageSpec, depth);
    if (!problem.empty()) {
        fail(problem);
    }
    const LayerChannels channels(imageSpec);
    const bool premultiplied =
        channels.alpha >= 0 && imageSpec.get_int_attribute("oiio:UnassociatedAlpha", 0) == 0;

    auto world = std::make_unique<World>(depth, imageSpec.width, imageSpec.height);
    const int rowsAtOnce = RowsAtOnce(imageSpec, channels);
    std::vector<float> run(static_cast<std::size_t>(rowsAtOnce) * imageSpec.width *
                           channels.Count());
    for (A_long first = 0; first < imageSpec.height; first += rowsAtOnce) {
        const int count = std::min<int>(rowsAtOnce, imageSpec.height - first);
        if (!ReadRows(*input, channels, first, count, run.data())) {
            fail(OiioMessage(input->geterror()));
        }
        const float* pixel = run.data();
        for (A_long y = first; y < first + count; ++y) {
            for (A_long x = 0; x < imageSpec.width; ++x, pixel += channels.Count()) {
                PixelValue color = channels.Color(pixel);
                if (premultiplied) {
                    Unpremultiply(color);
                }
                world->SetPixel(x, y, ToDepth(color, depth));
            }
        }
    }
    return world;
}

namespace {

// EXR holds colour multiplied by alpha: half floats from 8-bit worlds, floats otherwise.
void WriteExrFile(const std::string& path, const World& world, Compression compression) {
    std::unique_ptr<OIIO::ImageOutput> output = OIIO::ImageOutput::create(path);
    if (!output) {
        throw ImageFileError("cannot write image '" + path + "': " + OiioMessage(OIIO::geterror()));
    }
    const Depth depth = world.PixelDepth();
    OIIO::ImageSpec imageSpec(world.Width(), world.Height(), 4,
                              depth == Depth::Bits8 ? TypeDesc::HALF : TypeDesc::FLOAT);
    imageSpec.alpha_channel = 3;
    imageSpec.attribute("compression", compression == Compression::None   ? "none"
                                       : compression == Compression::Fast ? "zip:1"
                                                                          : "zip:6");

    std::vector<float> pixels(static_cast<std::size_t>(world.Width()) *
                              static_cast<std::size_t>(world.Height()) * 4);
    const float white = WhiteOf(depth);
    float* channels = pixels.data();
    for (A_long y = 0; y < world.Height(); ++y) {
        for (A_long x = 0; x < world.Width(); ++x) {
            const PixelValue color = world.Pixel(x, y);
            const float alpha = color[0] / white;
            const float scale = alpha / white;
            channels[0] = color[1] * scale;
            channels[1] = color[2] * scale;
            channels[2] = color[3] * scale;
            channels[3] = alpha;
            channels += 4;
        }
    }
    if (!output->open(path, imageSpec) || !output->write_image(TypeDesc::FLOAT, pixels.data()) ||
        !output->close()) {
        throw ImageFileError("cannot write image '" + path +
                             "': " + OiioMessage(output->geterror()));
    }
}

void DisposeWorld(World* world) {
    delete world;
}

}  // namespace

}  // namespace quorvel::host

extern "C" __attribute__((visibility("default"))) const quorvel::host::ImageLibrary*
QuorvelImageLibrary() {
    static const quorvel::host::ImageLibrary library = {
        &quorvel::host::ReadImageFile, &quorvel::host::DisposeWorld, &quorvel::host::WriteExrFile};
    return &library;
}
