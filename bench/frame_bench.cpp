// The bare transfer floor of a 1920 x 1080 frame with raw OpenGL: upload of the host's pixels
// into an RGBA32F texture, one full-frame pass into an RGBA32F target and the read-back in the
// host's pixel type. The effect's own frames are measured beside it, in the same run, whole
// and step by step (the ModulePhases benchmarks: where the frame's time goes).
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <map>
#include <mutex>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>
#include <glbinding/AbstractFunction.h>
#include <glbinding/CallbackMask.h>
#include <glbinding/FunctionCall.h>
#include <glbinding/callbacks.h>
#include <glbinding/gl/gl.h>

#include "host/frame_driver.h"
#include "host/frame_hooks.h"
#include "host/host.h"
#include "host/param_value.h"
#include "host/scene_file.h"
#include "host/scene_render.h"
#include "host/suites/path_suites.h"
#include "host/world.h"
#include "tests/support/egl_context.h"

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

const char* const kVertexSource = R"(#version 330
in vec4 Position;
in vec2 UVs;
out vec2 uvs;
void main() { gl_Position = vec4(Position.xy * 2.0 - 1.0, 0.0, 1.0); uvs = UVs; }
)";

const char* const kFragmentSource = R"(#version 330
uniform sampler2D inputTexture;
in vec2 uvs;
out vec4 colourOut;
void main() { colourOut = texture(inputTexture, uvs); }
)";

// A shader of heavy arithmetic: a full-frame pass of it keeps llvmpipe's rasterizer busy.
const char* const kHeavyFragmentSource = R"(#version 330
in vec2 uvs;
out vec4 colourOut;
void main() {
    vec4 sum = vec4(0.0);
    for (int i = 0; i < 40; ++i) {
        sum += sin(vec4(uvs * float(i), uvs.yx * float(i)));
    }
    colourOut = sum;
}
)";

gl::GLuint Compile(gl::GLenum kind, const char* source) {
    const gl::GLuint shader = gl::glCreateShader(kind);
    gl::glShaderSource(shader, 1, &source, nullptr);
    gl::glCompileShader(shader);
    return shader;
}

// A context of its own on the calling thread, with a program drawing a full-frame quad into
// an RGBA32F target of the frame's size. Contexts are made one at a time: glbinding must not
// take a new context while another thread calls OpenGL, so benchmark threads wait for all to
// be made before they draw.
class QuadPass {
  public:
    QuadPass(const char* fragmentSource, int threads) {
        std::unique_lock<std::mutex> lock(made_.mutex);
        context_ = std::make_unique<EglTestContext>();
        Build(fragmentSource);
        if (++made_.count == threads) {
            made_.count = 0;
            ++made_.round;
            made_.changed.notify_all();
        } else {
            const long round = made_.round;
            made_.changed.wait(lock, [&] { return made_.round != round; });
        }
    }
    ~QuadPass() {
        if (!Valid()) {
            return;
        }
        gl::glDeleteFramebuffers(1, &framebuffer_);
        gl::glDeleteTextures(1, &target_);
        gl::glDeleteBuffers(1, &buffer_);
        gl::glDeleteVertexArrays(1, &vertexArray_);
        gl::glDeleteProgram(program_);
    }
    QuadPass(const QuadPass&) = delete;
    QuadPass& operator=(const QuadPass&) = delete;

    bool Valid() const { return context_->Valid(); }
    void Draw() { gl::glDrawArrays(gl::GL_TRIANGLE_STRIP, 0, 4); }

  private:
    void Build(const char* fragmentSource) {
        if (!Valid()) {
            return;
        }
        program_ = gl::glCreateProgram();
        const gl::GLuint vertex = Compile(gl::GL_VERTEX_SHADER, kVertexSource);
        const gl::GLuint fragment = Compile(gl::GL_FRAGMENT_SHADER, fragmentSource);
        gl::glAttachShader(program_, vertex);
        gl::glAttachShader(program_, fragment);
        gl::glBindAttribLocation(program_, 0, "Position");
        gl::glBindAttribLocation(program_, 5, "UVs");
        gl::glLinkProgram(program_);
        gl::glDeleteShader(vertex);
        gl::glDeleteShader(fragment);

        const float quad[] = {0, 0, 0, 0, 0, 1, 0, 0, 1, 0, 0, 1, 0, 0, 1, 1, 1, 0, 1, 1};
        gl::glGenVertexArrays(1, &vertexArray_);
        gl::glBindVertexArray(vertexArray_);
        gl::glGenBuffers(1, &buffer_);
        gl::glBindBuffer(gl::GL_ARRAY_BUFFER, buffer_);
        gl::glBufferData(gl::GL_ARRAY_BUFFER, sizeof(quad), quad, gl::GL_STATIC_DRAW);
        gl::glEnableVertexAttribArray(0);
        gl::glEnableVertexAttribArray(5);
        gl::glVertexAttribPointer(0, 3, gl::GL_FLOAT, gl::GL_FALSE, 20, nullptr);
        gl::glVertexAttribPointer(5, 2, gl::GL_FLOAT, gl::GL_FALSE, 20,
                                  reinterpret_cast<const void*>(12));

        gl::glGenTextures(1, &target_);
        gl::glBindTexture(gl::GL_TEXTURE_2D, target_);
        gl::glTexImage2D(gl::GL_TEXTURE_2D, 0, gl::GL_RGBA32F, kWidth, kHeight, 0, gl::GL_RGBA,
                         gl::GL_FLOAT, nullptr);
        gl::glGenFramebuffers(1, &framebuffer_);
        gl::glBindFramebuffer(gl::GL_FRAMEBUFFER, framebuffer_);
        gl::glFramebufferTexture2D(gl::GL_FRAMEBUFFER, gl::GL_COLOR_ATTACHMENT0, gl::GL_TEXTURE_2D,
                                   target_, 0);
        gl::glViewport(0, 0, kWidth, kHeight);
        gl::glUseProgram(program_);
    }

    struct Made {
        std::mutex mutex;
        std::condition_variable changed;
        int count = 0;
        long round = 0;
    };
    static Made made_;

    std::unique_ptr<EglTestContext> context_;
    gl::GLuint program_ = 0;
    gl::GLuint vertexArray_ = 0;
    gl::GLuint buffer_ = 0;
    gl::GLuint target_ = 0;
    gl::GLuint framebuffer_ = 0;
};
QuadPass::Made QuadPass::made_;

struct TransferDepth {
    gl::GLenum type;
    size_t bytesPerPixel;
};

void TransferFloor(benchmark::State& state, TransferDepth depth) {
    QuadPass pass(kFragmentSource, 1);
    if (!pass.Valid()) {
        state.SkipWithError("no OpenGL context");
        return;
    }
    std::vector<unsigned char> host(kWidth * kHeight * depth.bytesPerPixel, 0x40);
    std::vector<unsigned char> back(host.size());
    for (auto _ : state) {
        gl::GLuint input = 0;
        gl::glGenTextures(1, &input);
        gl::glBindTexture(gl::GL_TEXTURE_2D, input);
        gl::glTexParameteri(gl::GL_TEXTURE_2D, gl::GL_TEXTURE_MIN_FILTER, gl::GL_NEAREST);
        gl::glTexParameteri(gl::GL_TEXTURE_2D, gl::GL_TEXTURE_MAG_FILTER, gl::GL_NEAREST);
        gl::glTexImage2D(gl::GL_TEXTURE_2D, 0, gl::GL_RGBA32F, kWidth, kHeight, 0, gl::GL_RGBA,
                         gl::GL_FLOAT, nullptr);
        gl::glTexSubImage2D(gl::GL_TEXTURE_2D, 0, 0, 0, kWidth, kHeight, gl::GL_RGBA, depth.type,
                            host.data());
        pass.Draw();
        gl::glReadPixels(0, 0, kWidth, kHeight, gl::GL_RGBA, depth.type, back.data());
        gl::glDeleteTextures(1, &input);
        benchmark::DoNotOptimize(back.data());
    }
}

// Full-frame passes of a heavy shader on 1, 2 and 4 threads, each with a context of its own:
// llvmpipe rasterizes for every context of a display on one set of threads (LP_NUM_THREADS of
// them), one scene at a time, so more contexts draw no more frames per second.
void SharedRasterizer(benchmark::State& state) {
    QuadPass pass(kHeavyFragmentSource, state.threads());
    if (!pass.Valid()) {
        state.SkipWithError("no OpenGL context");
        return;
    }
    for (auto _ : state) {
        pass.Draw();
        gl::glFinish();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(SharedRasterizer)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Threads(1)
    ->Threads(2)
    ->Threads(4);

BENCHMARK_CAPTURE(TransferFloor, 8bit, TransferDepth{gl::GL_UNSIGNED_BYTE, 4})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(TransferFloor, 16bit, TransferDepth{gl::GL_UNSIGNED_SHORT, 8})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(TransferFloor, float, TransferDepth{gl::GL_FLOAT, 16})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

using quorvel::host::Depth;
using quorvel::host::World;

// The module loaded into the replacement host and set up the way the host sets an effect up;
// torn down again at the end.
class EffectSession {
  public:
    EffectSession() : host_(QUORVEL_MODULE_PATH) {
        ready_ = host_.Register() == PF_Err_NONE &&
                 host_.effect().Send(PF_Cmd_GLOBAL_SETUP).err == PF_Err_NONE &&
                 host_.effect().Send(PF_Cmd_PARAMS_SETUP).err == PF_Err_NONE &&
                 host_.effect().Send(PF_Cmd_SEQUENCE_SETUP).err == PF_Err_NONE;
    }
    ~EffectSession() {
        host_.effect().Send(PF_Cmd_SEQUENCE_SETDOWN);
        host_.effect().Send(PF_Cmd_GLOBAL_SETDOWN);
    }
    EffectSession(const EffectSession&) = delete;
    EffectSession& operator=(const EffectSession&) = delete;

    bool Ready() const { return ready_; }
    quorvel::host::Host& host() { return host_; }

  private:
    quorvel::host::Host host_;
    bool ready_ = false;
};

// A parameter value by display name.
struct Setting {
    const char* name;
    double value;
};

// What a frame looks like besides its depth: the parameters that differ from the defaults.
using Look = std::vector<Setting>;

// Two gently curved masks across the frame, a third of its height apart.
std::vector<quorvel::host::MaskPath> FrameMasks() {
    std::vector<quorvel::host::MaskPath> masks;
    for (const double y : {360.0, 720.0}) {
        quorvel::host::MaskShape shape;
        shape.closed = false;
        shape.vertices = {{{-40, y}, {0, 0}, {600, -120}}, {{1960, y}, {-600, 120}, {0, 0}}};
        quorvel::host::MaskPath path;
        path.name = y < 500 ? "Top" : "Bottom";
        path.keyframes = {quorvel::host::MaskKeyframe{0.0, shape}};
        masks.push_back(path);
    }
    return masks;
}

// The effect set up for a 1920 x 1080 frame with a mesh between two masks, in a look, and the
// frame's worlds; the benchmark is skipped when it cannot be.
class FrameSetup {
  public:
    FrameSetup(benchmark::State& state, Depth depth, const Look& look)
        : input_(depth, kWidth, kHeight), output_(depth, kWidth, kHeight) {
        if (!session_.Ready()) {
            state.SkipWithError("the effect could not be set up");
            return;
        }
        quorvel::host::EffectInstance& effect = session_.host().effect();
        const std::vector<PF_PathID> ids =
            quorvel::host::SetLayerMasks(session_.host(), FrameMasks());
        quorvel::host::ChoosePath(effect, effect.parameters().Find("Mask 1"), ids[0]);
        quorvel::host::ChoosePath(effect, effect.parameters().Find("Mask 2"), ids[1]);
        for (const Setting& setting : look) {
            quorvel::host::ParamValue value;
            value.number = setting.value;
            if (effect.parameters().SetValue(effect.parameters().Find(setting.name), value) !=
                PF_Err_NONE) {
                state.SkipWithError(setting.name);
                return;
            }
        }
        input_.Fill({quorvel::host::WhiteOf(depth), 0.25f, 0.5f, 0.75f});
        ready_ = true;
    }

    bool Ready() const { return ready_; }
    // One frame; false (and the benchmark skipped) when it fails.
    bool Render(benchmark::State& state) {
        if (quorvel::host::RenderFrame(session_.host().effect(), input_, output_).Err() !=
            PF_Err_NONE) {
            state.SkipWithError("the frame failed");
            return false;
        }
        return true;
    }

  private:
    EffectSession session_;
    World input_;
    World output_;
    bool ready_ = false;
};

// A 1920 x 1080 frame through the module, SMART_PRE_RENDER and SMART_RENDER, on this thread.
void ModuleFrame(benchmark::State& state, Depth depth, const Look& look) {
    FrameSetup frame(state, depth, look);
    for (auto _ : state) {
        if (!frame.Ready() || !frame.Render(state)) {
            break;
        }
    }
}

// The render tool's frame without its file: the frame of ModuleFrame as a scene
// (frame_1080p.json, on the test card) through the host's scene renderer, as the tool renders
// a frame range on one thread (tool_bench.sh runs the tool on the same scene).
void SceneFrame(benchmark::State& state, Depth depth) {
    quorvel::host::Scene scene =
        quorvel::host::LoadSceneFile(QUORVEL_SOURCE_DIR "/bench/frame_1080p.json");
    scene.depth = depth;
    quorvel::host::SceneRenderer renderer(QUORVEL_MODULE_PATH, scene);
    for (auto _ : state) {
        bool done = false;
        renderer.RenderEach({0.0}, 1, [&done](std::size_t, quorvel::host::RenderedFrame& frame) {
            done = frame.result.Err() == PF_Err_NONE;
            return done;
        });
        if (!done) {
            state.SkipWithError("the frame failed");
            break;
        }
    }
}
BENCHMARK_CAPTURE(SceneFrame, 8bit, Depth::Bits8)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(SceneFrame, 16bit, Depth::Bits16)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(SceneFrame, float, Depth::Float)->Unit(benchmark::kMillisecond)->UseRealTime();

using Clock = std::chrono::steady_clock;

// Where a frame's time goes. While armed, the OpenGL calls that end a step of the frame wait
// for llvmpipe to finish (glFinish) and are timed, and so is the host's checkout_output, the
// last host call before the effect turns to OpenGL. A step's time runs from the end of the
// step before it. Waiting at every step costs the frame the overlap of llvmpipe's work with
// the effect's, so the steps add up to a little more than a frame without the clock.
//
// The effect's OpenGL calls reach this process's glbinding (one shared library for both),
// whose call-back masks belong to the current context; every context of Mesa's EGL is the
// same one to glbinding, so arming after a frame reaches the effect's calls of the next.
class PhaseClock {
  public:
    static PhaseClock& Get() { return *armed_; }

    void Arm() {
        armed_ = this;
        glbinding::setCallbackMaskExcept(
            glbinding::CallbackMask::Before | glbinding::CallbackMask::After,
            {"glFinish", "glGetError"});
        glbinding::setBeforeCallback([](const glbinding::FunctionCall&) { Get().BeforeCall(); });
        glbinding::setAfterCallback(
            [](const glbinding::FunctionCall& call) { Get().AfterCall(call.function->name()); });
        quorvel::host::InstallFrameHooks({&HostCall, nullptr});
    }
    void Disarm() {
        glbinding::setCallbackMask(glbinding::CallbackMask::None);
        quorvel::host::InstallFrameHooks({});
    }

    void StartFrame() {
        marks_.clear();
        frameStart_ = Clock::now();
        hostDone_ = frameStart_;
        openGlStart_.reset();
    }
    // Adds the frame's steps to the totals.
    void EndFrame() {
        const Clock::time_point end = Clock::now();
        Add("settings and check-outs", frameStart_, hostDone_);
        Clock::time_point from = hostDone_;
        if (openGlStart_) {
            Add("context", from, *openGlStart_);
            from = *openGlStart_;
        }
        for (std::size_t i = 0; i < marks_.size(); ++i) {
            const std::string label = LabelOf(i);
            if (!label.empty()) {
                Add(label, from, marks_[i].at);
                from = marks_[i].at;
            }
        }
        Add("check-ins", from, end);
        ++frames_;
    }

    long Frames() const { return frames_; }

    // The average milliseconds of each step per frame, in the order the steps first came,
    // numbered after prefix.
    void Report(benchmark::State& state, const char* prefix) const {
        for (std::size_t i = 0; i < order_.size(); ++i) {
            char name[128];
            std::snprintf(name, sizeof(name), "%s%02zu %s", prefix, i + 1, order_[i].c_str());
            state.counters[name] = totals_.at(order_[i]) / static_cast<double>(frames_);
        }
    }

  private:
    struct Mark {
        std::string name;
        Clock::time_point at;
    };

    static quorvel::host::CallFault HostCall(const char* function) {
        if (std::strcmp(function, "checkout_output") == 0) {
            Get().hostDone_ = Clock::now();
        }
        return {};
    }

    void BeforeCall() {
        if (!openGlStart_) {
            openGlStart_ = Clock::now();
        }
    }

    void AfterCall(const char* name) {
        static const char* const kTimed[] = {"glViewport",       "glClear",          "glTexImage2D",
                                             "glTexSubImage2D",  "glUnmapBuffer",    "glDrawArrays",
                                             "glDrawElements",   "glDeleteTextures", "glReadPixels",
                                             "glBindFramebuffer"};
        bool timed = false;
        for (const char* candidate : kTimed) {
            timed = timed || std::strcmp(name, candidate) == 0;
        }
        // Of the framebuffer bindings only the last one, after the copy into the output.
        const bool readBack = !marks_.empty() && marks_.back().name == "glReadPixels";
        if (!timed || (std::strcmp(name, "glBindFramebuffer") == 0 && !readBack)) {
            return;
        }
        gl::glFinish();
        marks_.push_back({name, Clock::now()});
    }

    std::size_t Count(std::size_t upTo, const char* name) const {
        std::size_t count = 0;
        for (std::size_t i = 0; i < upTo; ++i) {
            count += marks_[i].name == name;
        }
        return count;
    }

    // The step that the mark ends; empty where the next mark ends the same step.
    std::string LabelOf(std::size_t i) const {
        const std::string& name = marks_[i].name;
        const std::string next = i + 1 < marks_.size() ? marks_[i + 1].name : std::string();
        if (name == next && name != "glClear" && name != "glDrawArrays") {
            return std::string();
        }
        if (name == "glViewport") {
            return Count(i, "glViewport") == 0 ? "resources and framebuffer" : "";
        }
        if (name == "glClear") {
            // Told apart by where they come: before the upload, before the mesh pass, after it.
            if (Count(i, "glTexSubImage2D") == 0) {
                return "clear of pass texture 0";
            }
            if (Count(i, "glDrawElements") == 0) {
                return "clear of the main texture";
            }
            const std::size_t drawsAfter =
                Count(marks_.size(), "glDrawArrays") - Count(i, "glDrawArrays");
            return drawsAfter >= 2 ? "second clear of pass texture 0" : "clear of pass texture 1";
        }
        if (name == "glTexImage2D") {
            // Before the first viewport, a first frame's render textures.
            if (Count(i, "glViewport") == 0) {
                return std::string();
            }
            return next == "glTexSubImage2D" ? "new input texture" : "uniforms and ramp textures";
        }
        if (name == "glDrawArrays") {
            static const char* const kPasses[] = {"output pass", "resolve pass", "background pass"};
            const std::size_t left =
                Count(marks_.size(), "glDrawArrays") - Count(i + 1, "glDrawArrays");
            return left < 3 ? kPasses[left] : "pass";
        }
        if (name == "glDrawElements") {
            return Count(i, "glDrawElements") == 0 ? "mesh pass" : "wireframe";
        }
        static const std::map<std::string, std::string> kSteps = {
            {"glTexSubImage2D", "upload"},
            {"glUnmapBuffer", "mesh"},
            {"glDeleteTextures", "textures deleted"},
            {"glReadPixels", "read-back"},
            {"glBindFramebuffer", "copy into the output"},
        };
        return kSteps.at(name);
    }

    void Add(const std::string& label, Clock::time_point from, Clock::time_point to) {
        if (totals_.count(label) == 0) {
            order_.push_back(label);
        }
        totals_[label] += std::chrono::duration<double, std::milli>(to - from).count();
    }

    std::vector<Mark> marks_;
    Clock::time_point frameStart_;
    Clock::time_point hostDone_;
    std::optional<Clock::time_point> openGlStart_;
    std::map<std::string, double> totals_;
    std::vector<std::string> order_;
    long frames_ = 0;
    static PhaseClock* armed_;
};
PhaseClock* PhaseClock::armed_ = nullptr;

// ModuleFrame step by step: the average milliseconds of each step as counters. The first
// frame of a thread (context, render targets, programs) is measured too, as the benchmark's
// first iteration, in counters of its own.
void ModulePhases(benchmark::State& state, Depth depth, const Look& look) {
    FrameSetup frame(state, depth, look);
    PhaseClock first;
    PhaseClock steady;
    for (auto _ : state) {
        if (!frame.Ready()) {
            break;
        }
        PhaseClock& clock = first.Frames() == 0 ? first : steady;
        clock.Arm();
        clock.StartFrame();
        const bool done = frame.Render(state);
        clock.EndFrame();
        clock.Disarm();
        if (!done) {
            break;
        }
    }
    first.Report(state, "first ");
    steady.Report(state, "");
}

const Look kDefaultLook = {};
const Look kStripsAndWireframe = {{"Strips Enable", 1}, {"Preview Wireframe Mesh", 1}};
const Look kDenseBasePoints = {{"Along Base Points", 1000}, {"Across Base Points", 200}};

#define QUORVEL_FRAME_BENCHMARK(NAME, DEPTH, LOOK)           \
    BENCHMARK_CAPTURE(ModuleFrame, NAME, Depth::DEPTH, LOOK) \
        ->Unit(benchmark::kMillisecond)                      \
        ->UseRealTime()

#define QUORVEL_PHASE_BENCHMARK(NAME, DEPTH, LOOK)            \
    BENCHMARK_CAPTURE(ModulePhases, NAME, Depth::DEPTH, LOOK) \
        ->Unit(benchmark::kMillisecond)                       \
        ->UseRealTime()                                       \
        ->Iterations(11)

QUORVEL_PHASE_BENCHMARK(8bit_default, Bits8, kDefaultLook);
QUORVEL_PHASE_BENCHMARK(16bit_default, Bits16, kDefaultLook);
QUORVEL_PHASE_BENCHMARK(float_default, Float, kDefaultLook);

QUORVEL_FRAME_BENCHMARK(8bit_default, Bits8, kDefaultLook);
QUORVEL_FRAME_BENCHMARK(16bit_default, Bits16, kDefaultLook);
QUORVEL_FRAME_BENCHMARK(float_default, Float, kDefaultLook);
QUORVEL_FRAME_BENCHMARK(8bit_strips_wireframe, Bits8, kStripsAndWireframe);
QUORVEL_FRAME_BENCHMARK(16bit_strips_wireframe, Bits16, kStripsAndWireframe);
QUORVEL_FRAME_BENCHMARK(float_strips_wireframe, Float, kStripsAndWireframe);
QUORVEL_FRAME_BENCHMARK(8bit_1000x200_base_points, Bits8, kDenseBasePoints);
QUORVEL_FRAME_BENCHMARK(16bit_1000x200_base_points, Bits16, kDenseBasePoints);
QUORVEL_FRAME_BENCHMARK(float_1000x200_base_points, Float, kDenseBasePoints);

}  // namespace

BENCHMARK_MAIN();
