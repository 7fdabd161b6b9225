#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "host/image_file.h"
#include "host/scene.h"

// A command line that cannot be used; the message says what is wrong.
class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

struct FrameRange {
    int first = 0;
    int last = 0;
};

// The command line of quorvel-render.
struct RenderOptions {
    bool help = false;
    std::string scenePath;
    std::string outputPath;
    std::string modulePath;
    // Draw the effect's own interface into this folder instead of rendering a scene.
    std::string uiDirectory;
    std::optional<quorvel::host::Depth> depth;
    std::optional<double> time;
    std::optional<int> frame;
    std::optional<FrameRange> frames;
    std::optional<double> scale;
    int threads = 1;
    quorvel::host::Compression compression = quorvel::host::Compression::Fast;
};

// How many of the frames asked for at once (--threads) render at once on a machine of this
// many cores. llvmpipe draws the frames of every context on one set of threads of its own,
// one per core, so more host threads draw no faster: they only keep those threads busy while
// another frame's thread uploads, reads back and copies, for which two frames at once suffice
// (one per four cores on larger machines); each more costs a context and its memory.
int FramesAtOnce(int threads, unsigned cores);

// Reads the arguments after the program name. Throws UsageError.
RenderOptions ParseRenderOptions(const std::vector<std::string>& arguments);

std::string RenderUsage();

// One image to render: the frame's time in seconds and the file to write.
struct RenderJob {
    std::optional<int> frame;
    double time = 0.0;
    std::string outputPath;
};

// The images to render: one for a time or a single frame, one per frame of a range. Jobs are
// made when they are asked for, so that a range of millions of frames costs no memory.
class RenderPlan {
  public:
    RenderPlan(double time, std::optional<int> frame, std::string outputPath);
    // Frames first..last of a scene at frameRate, written to outputPath numbered as
    // FrameFileName says, or to outputPath itself when the range is one frame and the name
    // has no '#'.
    RenderPlan(int first, int last, double frameRate, std::string outputPath);

    std::size_t Count() const { return count_; }
    RenderJob Job(std::size_t index) const;
    // The files that the plan writes, for the user: "out.png", or "out_0001.png .. out_0050.png".
    std::string Files() const;

  private:
    RenderJob single_;
    std::size_t count_ = 1;
    int first_ = 0;
    double frameRate_ = 0.0;
    bool numbered_ = false;
};

// The scene with the command line's depth, time, frame or frame range in place of its own,
// and the images to render. Throws SceneError for a time or frame that the scene cannot hold.
RenderPlan PlanRender(quorvel::host::Scene& scene, const RenderOptions& options);

// What the user should know about a scene that renders without error but perhaps not as
// meant: masks that "Mask 1" or "Mask 2" never names, so that the effect passes the layer
// through unchanged. One line each, without the tool's prefix.
std::vector<std::string> SceneWarnings(const quorvel::host::Scene& scene);

// The file name of one frame of a range: a run of '#' in the name becomes the frame number
// padded with zeros to the run's length ("out_####.png" -> "out_0012.png"); without '#',
// "_" and the number padded to four digits go before the extension.
std::string FrameFileName(const std::string& pattern, int frame);
