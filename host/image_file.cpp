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

// The colour of one pixel of a file read as floats, in the host's order (alpha, red, green,
// blue) with 1.0 as full scale.
PixelValue FileColor(const float* channels, int channelCount, int alphaChannel) {
    const float alpha = alphaChannel >= 0 ? channels[alphaChannel] : 1.0f;
    if (channelCount >= 3) {
        return {alpha, channels[0], channels[1], channels[2]};
    }
    return {alpha, channels[0], channels[0], channels[0]};
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
    OIIO::ImageSpec config;
    config.attribute("oiio:UnassociatedAlpha", 1);
    std::unique_ptr<OIIO::ImageInput> input = OIIO::ImageInput::open(path, &config);
    if (!input) {
        throw ImageFileError("cannot read image '" + path + "': " + OiioMessage(OIIO::geterror()));
    }
    const OIIO::ImageSpec& imageSpec = input->spec();
    if (imageSpec.deep || imageSpec.nchannels < 1 || imageSpec.depth > 1) {
        throw ImageFileError("cannot read image '" + path + "': not a flat 2D image");
    }
    if (!IsLayerSizeAllowed(imageSpec.width, imageSpec.height)) {
        throw ImageFileError("cannot read image '" + path + "': its size " +
                             std::to_string(imageSpec.width) + " x " + std::to_string(imageSpec.height) +
                             " is not supported");
    }
    const int channelCount = imageSpec.nchannels;
    int alphaChannel = imageSpec.alpha_channel;
    if (alphaChannel < 0 && (channelCount == 2 || channelCount >= 4)) {
        alphaChannel = channelCount == 2 ? 1 : 3;
    }
    const bool premultiplied =
        alphaChannel >= 0 && imageSpec.get_int_attribute("oiio:UnassociatedAlpha", 0) == 0;

    std::vector<float> pixels(static_cast<std::size_t>(imageSpec.width) *
                              static_cast<std::size_t>(imageSpec.height) *
                              static_cast<std::size_t>(channelCount));
    if (!input->read_image(0, 0, 0, channelCount, TypeDesc::FLOAT, pixels.data())) {
        throw ImageFileError("cannot read image '" + path + "': " + OiioMessage(input->geterror()));
    }

    auto world = std::make_unique<World>(depth, imageSpec.width, imageSpec.height);
    const float* channels = pixels.data();
    for (A_long y = 0; y < imageSpec.height; ++y) {
        for (A_long x = 0; x < imageSpec.width; ++x) {
            PixelValue color = FileColor(channels, channelCount, alphaChannel);
            if (premultiplied) {
                Unpremultiply(color);
            }
            world->SetPixel(x, y, ToDepth(color, depth));
            channels += channelCount;
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
