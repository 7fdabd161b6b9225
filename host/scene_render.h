#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "host/frame_driver.h"
#include "host/host.h"
#include "host/scene.h"
#include "host/world.h"

namespace quorvel::host {

// A set-up command of the module that failed; code is the module's result.
class SetupError : public std::runtime_error {
  public:
    SetupError(const std::string& message, PF_Err code) : std::runtime_error(message), code(code) {}
    PF_Err code;
};

// The layer's picture for a scene in its depth: the test card, or the image file, whose size
// becomes the scene's frame size. Throws ImageFileError, or SceneError when the scene gives a
// frame size that the image does not have; either when the frame needs more memory than the
// host gives one (layer_limits.h).
std::unique_ptr<World> MakeSceneLayer(Scene& scene);

// One rendered frame: its time, what the host saw of the two commands, and the output world.
struct RenderedFrame {
    double time = 0.0;
    FrameResult result;
    std::unique_ptr<World> output;
};

// A scene rendered through the module the way the host does it. The constructor loads and
// registers the module, sends GLOBAL_SETUP, PARAMS_SETUP and SEQUENCE_SETUP, makes the layer
// and puts the scene into the host; the destructor sends SEQUENCE_SETDOWN and GLOBAL_SETDOWN
// and gives the parameters' values back. Throws HostError (module), SetupError, SceneError or
// ImageFileError.
class SceneRenderer {
  public:
    SceneRenderer(const std::string& modulePath, Scene scene);
    ~SceneRenderer();
    SceneRenderer(const SceneRenderer&) = delete;
    SceneRenderer& operator=(const SceneRenderer&) = delete;

    // Renders the frames at these times (seconds), each on a thread of its own, all at once;
    // one time renders on the calling thread.
    std::vector<RenderedFrame> Render(const std::vector<double>& times);

    // Takes each finished frame, one at a time, with its index in times; false stops the
    // frames not yet started.
    using FrameSink = std::function<bool(std::size_t index, RenderedFrame& frame)>;

    // Renders the frames at these times on a number of threads of its own (the calling thread
    // when 1), each thread taking the next frame in turn, so that a thread's OpenGL context
    // serves many frames and only finished frames wait for the sink. What the sink or a thread
    // throws is passed on once every thread has stopped.
    void RenderEach(const std::vector<double>& times, int threads, const FrameSink& sink);
    // The same for count frames whose times timeAt gives by index, asked for as the frames
    // start, so that memory follows the threads and not the number of frames.
    void RenderEach(std::size_t count, const std::function<double(std::size_t)>& timeAt,
                    int threads, const FrameSink& sink);

    // The set-down commands, at most once; the first failure's code, 0 when all succeeded.
    PF_Err SetDown();

    Host& host() { return *host_; }
    const Scene& scene() const { return scene_; }
    const World& layer() const { return *layer_; }

  private:
    RenderedFrame RenderAt(double time);
    void Send(PF_Cmd command, const char* name);

    Scene scene_;
    std::unique_ptr<Host> host_;
    std::unique_ptr<World> layer_;
    bool globalSetUp_ = false;
    bool sequenceSetUp_ = false;
};

}  // namespace quorvel::host
