// quorvel-render: renders a scene through the Quorvel module in the replacement host, to one
// image file or to numbered image files for a frame range.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <exception>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "host/host_error.h"
#include "host/image_file.h"
#include "host/scene_error.h"
#include "host/scene_file.h"
#include "host/scene_render.h"
#include "tools/frame_writer.h"
#include "tools/render_options.h"
#include "tools/repeated_output_filter.h"
#include "tools/ui_pictures.h"

namespace {

using namespace quorvel::host;

// Exit statuses, as the README lists them.
enum ExitStatus {
    kExitDone = 0,
    kExitUsage = 1,
    kExitScene = 2,
    kExitModule = 3,
    kExitFrame = 4,
};

struct ErrorName {
    PF_Err code;
    const char* name;
};

constexpr ErrorName kErrorNames[] = {
    {PF_Err_OUT_OF_MEMORY, "PF_Err_OUT_OF_MEMORY"},
    {PF_Err_INTERNAL_STRUCT_DAMAGED, "PF_Err_INTERNAL_STRUCT_DAMAGED"},
    {PF_Err_INVALID_INDEX, "PF_Err_INVALID_INDEX"},
    {PF_Err_UNRECOGNIZED_PARAM_TYPE, "PF_Err_UNRECOGNIZED_PARAM_TYPE"},
    {PF_Err_INVALID_CALLBACK, "PF_Err_INVALID_CALLBACK"},
    {PF_Err_BAD_CALLBACK_PARAM, "PF_Err_BAD_CALLBACK_PARAM"},
    {PF_Interrupt_CANCEL, "PF_Interrupt_CANCEL"},
};

std::string ErrorText(PF_Err code) {
    std::string text = "error " + std::to_string(code);
    for (const ErrorName& row : kErrorNames) {
        if (row.code == code) {
            text += std::string(" (") + row.name + ")";
        }
    }
    return text;
}

void Fail(const std::string& message) {
    std::fprintf(stderr, "quorvel-render: %s\n", message.c_str());
}

// The progress of a frame range on standard error: one line rewritten in place on a terminal,
// a line per frame otherwise.
class Progress {
  public:
    explicit Progress(std::size_t total) : total_(total), terminal_(isatty(STDERR_FILENO) != 0) {}

    void Done(const RenderJob& job) {
        ++done_;
        if (total_ < 2) {
            return;
        }
        std::fprintf(stderr, "%sframe %d: %zu of %zu (%3d%%) %s%s", terminal_ ? "\r\033[K" : "",
                     job.frame.value_or(0), done_, total_, static_cast<int>(100 * done_ / total_),
                     job.outputPath.c_str(), terminal_ ? "" : "\n");
        std::fflush(stderr);
    }

    void Finish() {
        if (terminal_ && done_ > 0 && total_ >= 2) {
            std::fputc('\n', stderr);
        }
    }

  private:
    std::size_t total_;
    std::size_t done_ = 0;
    bool terminal_;
};

std::string FrameName(const RenderJob& job) {
    char time[32];
    std::snprintf(time, sizeof(time), "%g s", job.time);
    return job.frame ? "frame " + std::to_string(*job.frame) + " (" + time + ")"
                     : std::string("the frame at ") + time;
}

// Renders the jobs on as many threads as help (FramesAtOnce), writing the images meanwhile;
// stops after a frame that fails.
int RenderJobs(SceneRenderer& renderer, const RenderPlan& jobs, const RenderOptions& options) {
    const std::size_t count = jobs.Count();
    const auto timeAt = [&jobs](std::size_t index) { return jobs.Job(index).time; };
    Progress progress(count);
    FrameWriter writer(options.compression,
                       [&progress](const RenderJob& job) { progress.Done(job); });
    int status = kExitDone;
    const int threads = FramesAtOnce(options.threads, std::thread::hardware_concurrency());
    renderer.RenderEach(count, timeAt, threads, [&](std::size_t index, RenderedFrame& frame) {
        const RenderJob job = jobs.Job(index);
        const FrameResult& result = frame.result;
        if (result.Err() != PF_Err_NONE) {
            writer.Drain();
            progress.Finish();
            Fail(FrameName(job) + " failed: the effect returned " + ErrorText(result.Err()) +
                 (result.preRenderErr != PF_Err_NONE ? " from SMART_PRE_RENDER"
                                                     : " from SMART_RENDER") +
                 (result.message.empty() ? "" : ": " + result.message));
            status = kExitFrame;
            return false;
        }
        return writer.Add(job, std::move(frame.output));
    });
    writer.Finish();
    progress.Finish();
    return status;
}

int Run(const RenderOptions& options) {
    Scene scene = LoadSceneFile(options.scenePath);
    const RenderPlan jobs = PlanRender(scene, options);
    for (const std::string& warning : SceneWarnings(scene)) {
        Fail("warning: " + warning);
    }
    const auto started = std::chrono::steady_clock::now();
    const RepeatedOutputFilter openGlInformationOnce;
    SceneRenderer renderer(options.modulePath, scene);
    int status = RenderJobs(renderer, jobs, options);
    const PF_Err setDown = renderer.SetDown();
    if (status == kExitDone && setDown != PF_Err_NONE) {
        Fail("the module's set-down failed with " + ErrorText(setDown));
        status = kExitModule;
    }
    if (status == kExitDone && !renderer.host().ledger().IsBalanced()) {
        Fail("the effect left host objects behind: " + renderer.host().ledger().Describe());
        status = kExitFrame;
    }
    if (status == kExitDone) {
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        std::fprintf(stderr, "quorvel-render: %zu %s of %d x %d at %s bits in %.2f s, wrote %s\n",
                     jobs.Count(), jobs.Count() == 1 ? "frame" : "frames", renderer.scene().width,
                     renderer.scene().height, DepthName(renderer.scene().depth), seconds,
                     jobs.Files().c_str());
    }
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    RenderOptions options;
    try {
        options = ParseRenderOptions(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const UsageError& error) {
        Fail(error.what());
        std::fprintf(stderr, "Try 'quorvel-render --help'.\n");
        return kExitUsage;
    }
    if (options.help) {
        std::fputs(RenderUsage().c_str(), stdout);
        return kExitDone;
    }
    if (options.modulePath.empty()) {
        options.modulePath = QUORVEL_DEFAULT_MODULE_PATH;
    }
    try {
        if (!options.uiDirectory.empty()) {
            return DrawUiPictures(options.modulePath, options.uiDirectory, options.scenePath) == 0
                       ? kExitDone
                       : kExitModule;
        }
        return Run(options);
    } catch (const SceneError& error) {
        Fail(error.what());
        return kExitScene;
    } catch (const ImageFileError& error) {
        Fail(error.what());
        return kExitScene;
    } catch (const SetupError& error) {
        Fail(std::string(error.what()) + " (" + ErrorText(error.code) + ")");
        return kExitModule;
    } catch (const HostError& error) {
        Fail(error.what());
        return kExitModule;
    } catch (const std::exception& error) {
        Fail(error.what());
        return kExitModule;
    }
}
