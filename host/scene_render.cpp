#include "host/scene_render.h"

#include <algorithm>
#include <exception>
#include <mutex>
#include <thread>
#include <utility>

#include "host/image_file.h"
#include "host/layer_limits.h"
#include "host/scene_error.h"
#include "host/scene_setup.h"
#include "host/test_card.h"

namespace quorvel::host {

std::unique_ptr<World> MakeSceneLayer(Scene& scene) {
    if (scene.layer.testCard) {
        const std::string problem = FrameMemoryProblem(scene.width, scene.height, scene.depth);
        if (!problem.empty()) {
            throw SceneError(scene.path + ": " + problem);
        }
        return MakeTestCard(scene.depth, scene.width, scene.height);
    }
    std::unique_ptr<World> image = ReadImageFile(scene.layer.imagePath, scene.depth);
    if (scene.width != 0 && (scene.width != image->Width() || scene.height != image->Height())) {
        throw SceneError(scene.path + ": the frame is " + std::to_string(scene.width) + " x " +
                         std::to_string(scene.height) + " but the layer's image " +
                         scene.layer.imagePath + " is " + std::to_string(image->Width()) + " x " +
                         std::to_string(image->Height()));
    }
    scene.width = image->Width();
    scene.height = image->Height();
    return image;
}

SceneRenderer::SceneRenderer(const std::string& modulePath, Scene scene)
    : scene_(std::move(scene)), host_(std::make_unique<Host>(modulePath)) {
    try {
        const A_Err registered = host_->Register();
        if (registered != PF_Err_NONE) {
            throw SetupError("the module's registration failed", registered);
        }
        Send(PF_Cmd_GLOBAL_SETUP, "GLOBAL_SETUP");
        globalSetUp_ = true;
        Send(PF_Cmd_PARAMS_SETUP, "PARAMS_SETUP");
        Send(PF_Cmd_SEQUENCE_SETUP, "SEQUENCE_SETUP");
        sequenceSetUp_ = true;
        layer_ = MakeSceneLayer(scene_);
        ApplyScene(*host_, scene_);
    } catch (...) {
        SetDown();
        throw;
    }
}

SceneRenderer::~SceneRenderer() {
    SetDown();
}

void SceneRenderer::Send(PF_Cmd command, const char* name) {
    const CommandResult result = host_->effect().Send(command);
    if (result.err != PF_Err_NONE) {
        std::string message = std::string("the module's ") + name + " failed";
        if (!result.Message().empty()) {
            message += ": " + result.Message();
        }
        throw SetupError(message, result.err);
    }
}

PF_Err SceneRenderer::SetDown() {
    PF_Err first = PF_Err_NONE;
    const auto note = [&first](PF_Err err) {
        if (first == PF_Err_NONE) {
            first = err;
        }
    };
    if (sequenceSetUp_) {
        sequenceSetUp_ = false;
        note(host_->effect().Send(PF_Cmd_SEQUENCE_SETDOWN).err);
    }
    if (globalSetUp_) {
        globalSetUp_ = false;
        note(host_->effect().Send(PF_Cmd_GLOBAL_SETDOWN).err);
        host_->effect().parameters().DisposeRamps();
    }
    return first;
}

RenderedFrame SceneRenderer::RenderAt(double time) {
    RenderedFrame frame;
    frame.time = time;
    frame.output =
        std::make_unique<World>(scene_.depth, layer_->Width(), layer_->Height(), 0, Pixels::Unset);
    InstanceSettings settings = host_->effect().Settings();
    const HostTime hostTime = SceneHostTime(scene_, time);
    settings.currentTime = hostTime.currentTime;
    settings.timeStep = hostTime.timeStep;
    settings.timeScale = hostTime.timeScale;
    const ThreadSettings scope(host_->effect(), settings);
    frame.result = RenderFrame(host_->effect(), *layer_, *frame.output);
    return frame;
}

std::vector<RenderedFrame> SceneRenderer::Render(const std::vector<double>& times) {
    std::vector<RenderedFrame> frames(times.size());
    RenderEach(times, static_cast<int>(times.size()),
               [&frames](std::size_t index, RenderedFrame& frame) {
                   frames[index] = std::move(frame);
                   return true;
               });
    return frames;
}

void SceneRenderer::RenderEach(const std::vector<double>& times, int threads,
                               const FrameSink& sink) {
    RenderEach(
        times.size(), [&times](std::size_t index) { return times[index]; }, threads, sink);
}

void SceneRenderer::RenderEach(std::size_t count, const std::function<double(std::size_t)>& timeAt,
                               int threads, const FrameSink& sink) {
    // The queue of frames and the sink have locks of their own, so that a thread that waits
    // for the sink (writing a file) keeps no other thread from its next frame.
    std::mutex queueMutex;
    std::mutex sinkMutex;
    std::size_t next = 0;
    bool stop = false;
    std::exception_ptr failure;
    const auto stopped = [&] {
        std::lock_guard<std::mutex> lock(queueMutex);
        return stop;
    };
    const auto finish = [&](std::exception_ptr error) {
        std::lock_guard<std::mutex> lock(queueMutex);
        if (error && !failure) {
            failure = error;
        }
        stop = true;
    };
    const auto work = [&] {
        for (;;) {
            std::size_t index = 0;
            {
                std::lock_guard<std::mutex> lock(queueMutex);
                if (stop || next == count) {
                    return;
                }
                index = next++;
            }
            try {
                RenderedFrame frame = RenderAt(timeAt(index));
                std::lock_guard<std::mutex> lock(sinkMutex);
                if (!stopped() && !sink(index, frame)) {
                    finish(nullptr);
                }
            } catch (...) {
                finish(std::current_exception());
            }
        }
    };
    const std::size_t workerCount = std::min(count, static_cast<std::size_t>(std::max(threads, 1)));
    if (workerCount <= 1) {
        work();
    } else {
        std::vector<std::thread> workers;
        workers.reserve(workerCount);
        for (std::size_t i = 0; i < workerCount; ++i) {
            workers.emplace_back(work);
        }
        for (std::thread& worker : workers) {
            worker.join();
        }
    }
    if (failure) {
        std::rethrow_exception(failure);
    }
}

}  // namespace quorvel::host
