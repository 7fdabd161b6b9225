// The bare transfer floor of a 1920 x 1080 frame with raw OpenGL: upload of the host's pixels
// into an RGBA32F texture, one full-frame pass into an RGBA32F target and the read-back in the
// host's pixel type. The effect's own frames are measured beside it, in the same run.
#include <memory>
#include <vector>

#include <benchmark/benchmark.h>
#include <glbinding/gl/gl.h>

#include "host/frame_driver.h"
#include "host/host.h"
#include "host/param_value.h"
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

gl::GLuint Compile(gl::GLenum kind, const char* source) {
    const gl::GLuint shader = gl::glCreateShader(kind);
    gl::glShaderSource(shader, 1, &source, nullptr);
    gl::glCompileShader(shader);
    return shader;
}

struct TransferDepth {
    gl::GLenum type;
    size_t bytesPerPixel;
};

void TransferFloor(benchmark::State& state, TransferDepth depth) {
    EglTestContext context;
    if (!context.Valid()) {
        state.SkipWithError("no OpenGL context");
        return;
    }
    std::vector<unsigned char> host(kWidth * kHeight * depth.bytesPerPixel, 0x40);
    std::vector<unsigned char> back(host.size());

    const gl::GLuint program = gl::glCreateProgram();
    const gl::GLuint vertex = Compile(gl::GL_VERTEX_SHADER, kVertexSource);
    const gl::GLuint fragment = Compile(gl::GL_FRAGMENT_SHADER, kFragmentSource);
    gl::glAttachShader(program, vertex);
    gl::glAttachShader(program, fragment);
    gl::glBindAttribLocation(program, 0, "Position");
    gl::glBindAttribLocation(program, 5, "UVs");
    gl::glLinkProgram(program);

    const float quad[] = {0, 0, 0, 0, 0, 1, 0, 0, 1, 0, 0, 1, 0, 0, 1, 1, 1, 0, 1, 1};
    gl::GLuint vertexArray = 0;
    gl::GLuint buffer = 0;
    gl::glGenVertexArrays(1, &vertexArray);
    gl::glBindVertexArray(vertexArray);
    gl::glGenBuffers(1, &buffer);
    gl::glBindBuffer(gl::GL_ARRAY_BUFFER, buffer);
    gl::glBufferData(gl::GL_ARRAY_BUFFER, sizeof(quad), quad, gl::GL_STATIC_DRAW);
    gl::glEnableVertexAttribArray(0);
    gl::glEnableVertexAttribArray(5);
    gl::glVertexAttribPointer(0, 3, gl::GL_FLOAT, gl::GL_FALSE, 20, nullptr);
    gl::glVertexAttribPointer(5, 2, gl::GL_FLOAT, gl::GL_FALSE, 20,
                              reinterpret_cast<const void*>(12));

    gl::GLuint target = 0;
    gl::GLuint framebuffer = 0;
    gl::glGenTextures(1, &target);
    gl::glBindTexture(gl::GL_TEXTURE_2D, target);
    gl::glTexImage2D(gl::GL_TEXTURE_2D, 0, gl::GL_RGBA32F, kWidth, kHeight, 0, gl::GL_RGBA,
                     gl::GL_FLOAT, nullptr);
    gl::glGenFramebuffers(1, &framebuffer);
    gl::glBindFramebuffer(gl::GL_FRAMEBUFFER, framebuffer);
    gl::glFramebufferTexture2D(gl::GL_FRAMEBUFFER, gl::GL_COLOR_ATTACHMENT0, gl::GL_TEXTURE_2D,
                               target, 0);
    gl::glViewport(0, 0, kWidth, kHeight);
    gl::glUseProgram(program);

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
        gl::glDrawArrays(gl::GL_TRIANGLE_STRIP, 0, 4);
        gl::glReadPixels(0, 0, kWidth, kHeight, gl::GL_RGBA, depth.type, back.data());
        gl::glDeleteTextures(1, &input);
        benchmark::DoNotOptimize(back.data());
    }

    gl::glDeleteFramebuffers(1, &framebuffer);
    gl::glDeleteTextures(1, &target);
    gl::glDeleteBuffers(1, &buffer);
    gl::glDeleteVertexArrays(1, &vertexArray);
    gl::glDeleteProgram(program);
    gl::glDeleteShader(vertex);
    gl::glDeleteShader(fragment);
}

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

// A 1920 x 1080 frame with a mesh between two masks through the module, SMART_PRE_RENDER and
// SMART_RENDER, on this thread.
void ModuleFrame(benchmark::State& state, Depth depth, const Look& look) {
    EffectSession session;
    if (!session.Ready()) {
        state.SkipWithError("the effect could not be set up");
        return;
    }
    quorvel::host::EffectInstance& effect = session.host().effect();
    const std::vector<PF_PathID> ids = quorvel::host::SetLayerMasks(session.host(), FrameMasks());
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
    World input(depth, kWidth, kHeight);
    World output(depth, kWidth, kHeight);
    input.Fill({quorvel::host::WhiteOf(depth), 0.25f, 0.5f, 0.75f});
    for (auto _ : state) {
        if (quorvel::host::RenderFrame(effect, input, output).Err() != PF_Err_NONE) {
            state.SkipWithError("the frame failed");
            break;
        }
    }
}

const Look kDefaultLook = {};
const Look kStripsAndWireframe = {{"Strips Enable", 1}, {"Preview Wireframe Mesh", 1}};
const Look kDenseBasePoints = {{"Along Base Points", 1000}, {"Across Base Points", 200}};

#define QUORVEL_FRAME_BENCHMARK(NAME, DEPTH, LOOK)           \
    BENCHMARK_CAPTURE(ModuleFrame, NAME, Depth::DEPTH, LOOK) \
        ->Unit(benchmark::kMillisecond)                      \
        ->UseRealTime()

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
