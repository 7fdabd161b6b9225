#include "tools/render_options.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <utility>

#include "host/image_file.h"
#include "host/scene_error.h"
#include "host/scene_file.h"
#include "host/scene_scale.h"

using quorvel::host::Scene;
using quorvel::host::SceneError;

namespace {

// Options that take a value, in the order the usage lists them.
struct OptionRow {
    const char* longName;
    const char* shortName;
    const char* value;
    const char* help;
};

constexpr OptionRow kOptions[] = {
    {"--output", "-o", "FILE",
     "image to write: .png, .tif or .exr. For a frame range a run of '#' in\n"
     "                     the name becomes the frame number (out_####.png); without\n"
     "                     '#' the number goes before the extension (out_0012.png)"},
    {"--depth", nullptr, "8|16|32", "colour depth, in place of the scene's (32 is float)"},
    {"--time", nullptr, "SECONDS", "render the frame at this time"},
    {"--frame", nullptr, "N", "render frame N (at the scene's frame rate)"},
    {"--frames", nullptr, "A-B", "render frames A to B into numbered images"},
    {"--scale", nullptr, "F",
     "render the scene at F times its size, frame and masks (a\n"
     "                     test-card layer only)"},
    {"--threads", nullptr, "N",
     "render up to N frames at once on host threads (default 1); as\n"
     "                     llvmpipe draws them all on one set of threads, at most 2\n"
     "                     render at once (one per 4 cores on larger machines)"},
    {"--compression", nullptr, "HOW",
     "fast (the default), small (the smallest files, slowest) or\n"
     "                     none (the quickest to write): how hard to pack the images"},
    {"--ui", nullptr, "DIRECTORY",
     "instead of rendering, draw the effect's own interface (the ramp\n"
     "                     editors, the mask names) into PNG files in DIRECTORY: the\n"
     "                     scene's masks and values when a scene is given"},
    {"--module", nullptr, "PATH",
     "the Quorvel module to load (default: the one built with\n"
     "                     this tool)"},
};

long long WholeNumber(const std::string& option, const std::string& text, long long low,
                      long long high) {
    errno = 0;
    char* end = nullptr;
    const long long value = std::strtoll(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || errno != 0 || value < low || value > high) {
        throw UsageError(option + " expects a whole number from " + std::to_string(low) + " to " +
                         std::to_string(high) + ", not '" + text + "'");
    }
    return value;
}

double Seconds(const std::string& option, const std::string& text) {
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || !std::isfinite(value) || value < 0.0 ||
        value > quorvel::host::kMaxSceneTime) {
        throw UsageError(option + " expects seconds from 0 to " +
                         std::to_string(static_cast<long long>(quorvel::host::kMaxSceneTime)) +
                         ", not '" + text + "'");
    }
    return value;
}

FrameRange Range(const std::string& option, const std::string& text) {
    const std::size_t dash = text.find('-', 1);
    if (dash == std::string::npos) {
        throw UsageError(option + " expects a range A-B, not '" + text + "'");
    }
    FrameRange range;
    range.first = static_cast<int>(WholeNumber(option, text.substr(0, dash), 0, 2147483647));
    range.last = static_cast<int>(WholeNumber(option, text.substr(dash + 1), 0, 2147483647));
    if (range.last < range.first) {
        throw UsageError(option + " expects A-B with A not above B, not '" + text + "'");
    }
    return range;
}

void SetOption(RenderOptions& options, const std::string& name, const std::string& value) {
    if (name == "--output") {
        options.outputPath = value;
    } else if (name == "--depth") {
        options.depth = quorvel::host::ParseDepth(value);
        if (!options.depth) {
            throw UsageError("--depth expects 8, 16 or 32 (float), not '" + value + "'");
        }
    } else if (name == "--time") {
        options.time = Seconds(name, value);
    } else if (name == "--frame") {
        options.frame = static_cast<int>(WholeNumber(name, value, 0, 2147483647));
    } else if (name == "--frames") {
        options.frames = Range(name, value);
    } else if (name == "--scale") {
        char* end = nullptr;
        options.scale = std::strtod(value.c_str(), &end);
        if (value.empty() || *end != '\0' || !(*options.scale > 0.0) || *options.scale > 64.0) {
            throw UsageError("--scale expects a factor above 0 and up to 64, not '" + value + "'");
        }
    } else if (name == "--threads") {
        options.threads = static_cast<int>(WholeNumber(name, value, 1, 64));
    } else if (name == "--compression") {
        const auto compression = quorvel::host::ParseCompression(value);
        if (!compression) {
            throw UsageError("--compression expects fast, small or none, not '" + value + "'");
        }
        options.compression = *compression;
    } else if (name == "--ui") {
        options.uiDirectory = value;
    } else {
        options.modulePath = value;
    }
}

const OptionRow* FindOption(const std::string& argument) {
    for (const OptionRow& row : kOptions) {
        if (argument == row.longName || (row.shortName != nullptr && argument == row.shortName)) {
            return &row;
        }
    }
    return nullptr;
}

std::string PaddedNumber(int number, std::size_t width) {
    std::string digits = std::to_string(number);
    if (digits.size() < width) {
        digits.insert(0, width - digits.size(), '0');
    }
    return digits;
}

}  // namespace

int FramesAtOnce(int threads, unsigned cores) {
    return std::min(threads, std::max(2, static_cast<int>(cores / 4)));
}

std::string RenderUsage() {
    std::string usage =
        "Usage: quorvel-render SCENE.json -o IMAGE [options]\n"
        "       quorvel-render [SCENE.json] --ui DIRECTORY [--module PATH]\n"
        "Renders a scene through the Quorvel module to an image file, or a frame range to\n"
        "numbered image files.\n\nOptions:\n";
    for (const OptionRow& row : kOptions) {
        std::string names = std::string("  ") + row.longName + " " + row.value;
        if (row.shortName != nullptr) {
            names = std::string("  ") + row.shortName + ", " + row.longName + " " + row.value;
        }
        names.resize(std::max<std::size_t>(names.size() + 1, 21), ' ');
        usage += names + row.help + "\n";
    }
    usage += "  -h, --help         show this text\n";
    return usage;
}

RenderOptions ParseRenderOptions(const std::vector<std::string>& arguments) {
    RenderOptions options;
    int exclusive = 0;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "-h" || argument == "--help") {
            options.help = true;
            return options;
        }
        if (const OptionRow* row = FindOption(argument)) {
            if (i + 1 == arguments.size()) {
                throw UsageError(argument + " needs a value (" + row->value + ")");
            }
            const std::string name = row->longName;
            exclusive += name == "--time" || name == "--frame" || name == "--frames";
            SetOption(options, name, arguments[++i]);
        } else if (argument.size() > 1 && argument[0] == '-') {
            throw UsageError("unknown option '" + argument + "'");
        } else if (options.scenePath.empty()) {
            options.scenePath = argument;
        } else {
            throw UsageError("more than one scene given ('" + options.scenePath + "' and '" +
                             argument + "')");
        }
    }
    if (!options.uiDirectory.empty()) {
        if (!options.outputPath.empty() || exclusive > 0 || options.depth || options.scale) {
            throw UsageError("--ui draws the interface and renders no image");
        }
        return options;
    }
    if (options.scenePath.empty()) {
        throw UsageError("no scene given");
    }
    if (options.outputPath.empty()) {
        throw UsageError("no output image given (-o IMAGE)");
    }
    if (!quorvel::host::IsWritableImageName(options.outputPath)) {
        throw UsageError("the output image's name must end in .png, .tif, .tiff or .exr, not '" +
                         options.outputPath + "'");
    }
    if (exclusive > 1) {
        throw UsageError("give only one of --time, --frame and --frames");
    }
    return options;
}

std::vector<std::string> SceneWarnings(const Scene& scene) {
    std::vector<std::string> warnings;
    if (scene.masks.empty()) {
        return warnings;
    }
    for (const char* name : {"Mask 1", "Mask 2"}) {
        bool named = false;
        for (const quorvel::host::SceneParameter& parameter : scene.parameters) {
            for (const quorvel::host::SceneParameterKey& key : parameter.keys) {
                // A mask is named by its name or its number; null and 0 name none.
                named = named || (parameter.name == name && !key.value.is_null() &&
                                  !(key.value.is_number() && key.value.get<double>() == 0.0));
            }
        }
        if (!named) {
            warnings.push_back(scene.path + ": the scene has masks, but \"" + name +
                               "\" names none of them: the effect passes the layer through");
        }
    }
    return warnings;
}

std::string FrameFileName(const std::string& pattern, int frame) {
    const std::string fileName = std::filesystem::path(pattern).filename().string();
    const std::size_t nameStart = pattern.size() - fileName.size();
    const std::size_t runStart = pattern.find('#', nameStart);
    if (runStart != std::string::npos) {
        std::size_t runEnd = runStart;
        while (runEnd < pattern.size() && pattern[runEnd] == '#') {
            ++runEnd;
        }
        return pattern.substr(0, runStart) + PaddedNumber(frame, runEnd - runStart) +
               pattern.substr(runEnd);
    }
    const std::size_t dot = fileName.find_last_of('.');
    const std::size_t insertAt =
        (dot == std::string::npos || dot == 0) ? pattern.size() : nameStart + dot;
    return pattern.substr(0, insertAt) + "_" + PaddedNumber(frame, 4) + pattern.substr(insertAt);
}

RenderPlan PlanRender(Scene& scene, const RenderOptions& options) {
    if (options.depth) {
        scene.depth = *options.depth;
    }
    if (options.scale) {
        quorvel::host::ScaleScene(scene, *options.scale);
    }
    const long long maxFrame =
        static_cast<long long>(std::floor(quorvel::host::kMaxSceneTime * scene.frameRate));
    const auto checkFrame = [&](int frame) {
        if (frame > maxFrame) {
            throw SceneError(scene.path + ": frame " + std::to_string(frame) +
                             " lies beyond the scene's last possible frame " +
                             std::to_string(maxFrame));
        }
    };
    if (options.time) {
        scene.time = *options.time;
        scene.firstFrame.reset();
        scene.lastFrame.reset();
    } else if (options.frame) {
        checkFrame(*options.frame);
        scene.time = *options.frame / scene.frameRate;
        scene.firstFrame.reset();
        scene.lastFrame.reset();
    } else if (options.frames) {
        checkFrame(options.frames->last);
        scene.firstFrame = options.frames->first;
        scene.lastFrame = options.frames->last;
        scene.time = options.frames->first / scene.frameRate;
    }
    const std::filesystem::path folder = std::filesystem::path(options.outputPath).parent_path();
    std::error_code error;
    if (!folder.empty() && !std::filesystem::is_directory(folder, error)) {
        throw SceneError("the output folder " + folder.string() + " does not exist");
    }
    if (!scene.firstFrame) {
        return RenderPlan(scene.time, options.frame, options.outputPath);
    }
    return RenderPlan(*scene.firstFrame, *scene.lastFrame, scene.frameRate, options.outputPath);
}

RenderPlan::RenderPlan(double time, std::optional<int> frame, std::string outputPath)
    : single_{frame, time, std::move(outputPath)} {}

RenderPlan::RenderPlan(int first, int last, double frameRate, std::string outputPath)
    : single_{first, first / frameRate, outputPath},
      count_(static_cast<std::size_t>(static_cast<long long>(last) - first + 1)),
      first_(first),
      frameRate_(frameRate),
      numbered_(count_ > 1 || outputPath.find('#') != std::string::npos) {}

RenderJob RenderPlan::Job(std::size_t index) const {
    if (!numbered_) {
        return single_;
    }
    const int frame = first_ + static_cast<int>(index);
    return {frame, frame / frameRate_, FrameFileName(single_.outputPath, frame)};
}

std::string RenderPlan::Files() const {
    const std::string first = Job(0).outputPath;
    return count_ == 1 ? first : first + " .. " + Job(count_ - 1).outputPath;
}
