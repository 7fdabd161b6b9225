#include "host/image_file.h"

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <memory>
#include <vector>

#include <OpenImageIO/imageio.h>

namespace quorvel::host {

namespace {

using OIIO::TypeDesc;

// How each writable format stores the three depths.
struct FileFormatRow {
    const char* extension;
    TypeDesc::BASETYPE eight;
    TypeDesc::BASETYPE sixteen;
    TypeDesc::BASETYPE floating;
    bool storesPremultiplied;
};

constexpr FileFormatRow kFileFormats[] = {
    {".png", TypeDesc::UINT8, TypeDesc::UINT16, TypeDesc::UINT16, false},
    {".tif", TypeDesc::UINT8, TypeDesc::UINT16, TypeDesc::FLOAT, false},
    {".tiff", TypeDesc::UINT8, TypeDesc::UINT16, TypeDesc::FLOAT, false},
    {".exr", TypeDesc::HALF, TypeDesc::FLOAT, TypeDesc::FLOAT, true},
};

std::string LowerExtension(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
        return std::string();
    }
    std::string extension = path.substr(dot);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

const FileFormatRow* FindFileFormat(const std::string& path) {
    const std::string extension = LowerExtension(path);
    for (const FileFormatRow& row : kFileFormats) {
        if (extension == row.extension) {
            return &row;
        }
    }
    return nullptr;
}

TypeDesc::BASETYPE StoredType(const FileFormatRow& format, PixelDepth depth) {
    switch (depth) {
        case PixelDepth::Eight:
            return format.eight;
        case PixelDepth::Sixteen:
            return format.sixteen;
        case PixelDepth::Float:
            break;
    }
    return format.floating;
}

std::string OiioMessage(const std::string& message) {
    return message.empty() ? std::string("unknown error") : message;
}

// The colour of one pixel of a file read as floats, in the host's order.
Color FileColor(const float* channels, int channelCount, int alphaChannel) {
    const float alpha = alphaChannel >= 0 ? channels[alphaChannel] : 1.0f;
    if (channelCount >= 3) {
        return {alpha, channels[0], channels[1], channels[2]};
    }
    return {alpha, channels[0], channels[0], channels[0]};
}

void Unpremultiply(Color& color) {
    if (color.alpha > 0.0f) {
        color.red /= color.alpha;
        color.green /= color.alpha;
        color.blue /= color.alpha;
    }
}

}  // namespace

Image ReadImageFile(const std::string& path, PixelDepth depth) {
    OIIO::ImageSpec config;
    config.attribute("oiio:UnassociatedAlpha", 1);
    std::unique_ptr<OIIO::ImageInput> input = OIIO::ImageInput::open(path, &config);
    if (!input) {
        throw ImageFileError("cannot read image '" + path + "': " + OiioMessage(OIIO::geterror()));
    }
    const OIIO::ImageSpec& spec = input->spec();
    if (spec.deep || spec.nchannels < 1 || spec.depth > 1) {
        throw ImageFileError("cannot read image '" + path + "': not a flat 2D image");
    }
    if (!IsImageSizeAllowed(spec.width, spec.height) || spec.width < 1 || spec.height < 1) {
        throw ImageFileError("cannot read image '" + path + "': its size " +
                             std::to_string(spec.width) + " x " + std::to_string(spec.height) +
                             " is not supported");
    }
    const int channelCount = spec.nchannels;
    int alphaChannel = spec.alpha_channel;
    if (alphaChannel < 0 && (channelCount == 2 || channelCount >= 4)) {
        alphaChannel = channelCount == 2 ? 1 : 3;
    }
    const bool premultiplied =
        alphaChannel >= 0 && spec.get_int_attribute("oiio:UnassociatedAlpha", 0) == 0;

    std::vector<float> pixels(static_cast<std::size_t>(spec.width) *
                              static_cast<std::size_t>(spec.height) *
                              static_cast<std::size_t>(channelCount));
    if (!input->read_image(0, 0, 0, channelCount, TypeDesc::FLOAT, pixels.data())) {
        throw ImageFileError("cannot read image '" + path + "': " + OiioMessage(input->geterror()));
    }

    Image image(depth, spec.width, spec.height);
    const float* channels = pixels.data();
    for (int y = 0; y < spec.height; ++y) {
        for (int x = 0; x < spec.width; ++x) {
            Color color = FileColor(channels, channelCount, alphaChannel);
            if (premultiplied) {
                Unpremultiply(color);
            }
            image.SetPixel(x, y, color);
            channels += channelCount;
        }
    }
    return image;
}

void WriteImageFile(const std::string& path, const Image& image) {
    const FileFormatRow* format = FindFileFormat(path);
    if (format == nullptr) {
        throw ImageFileError("cannot write image '" + path +
                             "': the name must end in .png, .tif, .tiff or .exr");
    }
    if (image.Width() < 1 || image.Height() < 1) {
        throw ImageFileError("cannot write image '" + path + "': the image is empty");
    }
    std::unique_ptr<OIIO::ImageOutput> output = OIIO::ImageOutput::create(path);
    if (!output) {
        throw ImageFileError("cannot write image '" + path + "': " + OiioMessage(OIIO::geterror()));
    }
    OIIO::ImageSpec spec(image.Width(), image.Height(), 4, StoredType(*format, image.Depth()));
    spec.alpha_channel = 3;
    if (!format->storesPremultiplied) {
        spec.attribute("oiio:UnassociatedAlpha", 1);
    }

    std::vector<float> pixels(static_cast<std::size_t>(image.Width()) *
                              static_cast<std::size_t>(image.Height()) * 4);
    float* channels = pixels.data();
    for (int y = 0; y < image.Height(); ++y) {
        for (int x = 0; x < image.Width(); ++x) {
            const Color color = image.Pixel(x, y);
            const float scale = format->storesPremultiplied ? color.alpha : 1.0f;
            channels[0] = color.red * scale;
            channels[1] = color.green * scale;
            channels[2] = color.blue * scale;
            channels[3] = color.alpha;
            channels += 4;
        }
    }
    if (!output->open(path, spec) || !output->write_image(TypeDesc::FLOAT, pixels.data()) ||
        !output->close()) {
        throw ImageFileError("cannot write image '" + path +
                             "': " + OiioMessage(output->geterror()));
    }
}

}  // namespace quorvel::host
