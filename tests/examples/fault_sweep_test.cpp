// Every host call of a scene's run made to fail once, as an error and as a success that hands
// out nothing: the example scenes' frames and the pictures of the custom UI, at a small size.
// Each run ends without a crash, with an error code or the same image as without the fault,
// and gives back everything it took (the sanitizer build also finds what leaks). Where a scene
// makes too many calls, every function's first call and a sample of the others, drawn with a
// fixed seed, fail.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host/scene_file.h"
#include "host/scene_render.h"
#include "host/scene_scale.h"
#include "tests/support/image_compare.h"
#include "tests/support/module_host.h"
#include "tools/ui_pictures.h"

namespace quorvel::testing {
namespace {

namespace fs = std::filesystem;

constexpr double kScale = 0.25;
// Calls failed per scene, each once as an error and once as a success that hands out nothing:
// every call the scenes make today (at most 674, the UI pictures), a sample once they make
// more.
constexpr std::size_t kCallsPerScene = 800;
constexpr unsigned kSeed = 12;
constexpr PF_Err kFaultCode = 1234;

struct Call {
    std::string function;
    int nth;
};

// The calls of a journal, each as its function's nth call.
std::vector<Call> CallsOf(const std::vector<std::string>& journal) {
    std::map<std::string, int> seen;
    std::vector<Call> calls;
    for (const std::string& function : journal) {
        calls.push_back({function, ++seen[function]});
    }
    return calls;
}

// Answers after which a different picture is right. The results of the two point transforms
// are not looked at by design. A success that hands out nothing leaves a value at zero or
// draws nothing where the call hands out a value or draws: a path that is not there or has no
// segments (a mask without one), no drawing reference (nothing to draw on), a colour, count,
// size or point of zero. Every other call's nothing ends in an error or the same picture.
bool MayChangeThePicture(const Call& call, bool giveNull) {
    static const std::set<std::string> transforms = {"layer_to_comp", "source_to_frame"};
    static const std::set<std::string> values = {"PF_CheckoutPath",
                                                 "PF_PathNumSegments",
                                                 "PF_GetDrawingReference",
                                                 "PF_AppGetBgColor",
                                                 "PF_AppGetColor",
                                                 "GetDefaultFontSize",
                                                 "AEGP_GetLayerNumMasks",
                                                 "AEGP_GetMaskColor",
                                                 "AEGP_GetMaskOutlineNumSegments",
                                                 "AEGP_GetMaskOutlineVertexInfo",
                                                 "DrawImage",
                                                 "DrawString",
                                                 "StrokePath",
                                                 "FillPath",
                                                 "AddRect"};
    return transforms.count(call.function) != 0 || (giveNull && values.count(call.function) != 0);
}

// Every function's first call, then others drawn with a fixed seed, up to the cap. A check-in
// that the host refuses keeps the parameter checked out and ends the module's check-in walk by
// design (a test of its own covers it): that call is not swept.
std::vector<Call> Sample(const std::vector<Call>& calls) {
    std::vector<Call> chosen;
    std::vector<Call> others;
    for (const Call& call : calls) {
        if (call.function != "checkin_param") {
            (call.nth == 1 ? chosen : others).push_back(call);
        }
    }
    std::mt19937 random(kSeed);
    std::shuffle(others.begin(), others.end(), random);
    const std::size_t room = kCallsPerScene > chosen.size() ? kCallsPerScene - chosen.size() : 0;
    chosen.insert(chosen.end(), others.begin(),
                  others.begin() + static_cast<std::ptrdiff_t>(std::min(room, others.size())));
    return chosen;
}

host::Scene LoadScene(const char* name) {
    host::Scene scene =
        host::LoadSceneFile(std::string(QUORVEL_SOURCE_DIR) + "/examples/" + name + ".json");
    host::ScaleScene(scene, kScale);
    return scene;
}

// For each sampled call, failing and giving nothing: arms the fault on the host that start()
// gives, runs, clears the fault and sees the ledger balanced.
template <typename Start, typename Run>
void Sweep(const std::vector<Call>& calls, Start start, Run run) {
    // A path or a length preparation that the host refused to take back stays with it: the
    // module asked once.
    const std::map<std::string, std::string> refusals = {
        {"PF_CheckinPath", "path "}, {"PF_PathCleanupSegLength", "length preparation "}};
    for (const Call& call : Sample(calls)) {
        for (const bool giveNull : {false, true}) {
            SCOPED_TRACE(call.function + " call " + std::to_string(call.nth) +
                         (giveNull ? " gives nothing" : " fails"));
            host::Host& host = start();
            if (giveNull) {
                host.faults().NullCall(call.function, call.nth);
            } else {
                host.faults().FailCall(call.function, call.nth, kFaultCode);
            }
            const std::map<std::string, long> before = host.ledger().Outstanding();
            run(call, giveNull);
            host.faults().Clear();
            if (!giveNull && refusals.count(call.function) != 0) {
                EXPECT_TRUE(ForgetRefusedItem(host, refusals.at(call.function)));
            }
            // A suite whose release the host refused stays acquired by the host's own rule; it
            // is given back on the module's behalf.
            for (const auto& [item, count] : host.ledger().Outstanding()) {
                const size_t space = item.rfind(' ');
                if (call.function == "ReleaseSuite" && item.rfind("suite ", 0) == 0 &&
                    before.count(item) == 0 && count == 1) {
                    host.suites().Release(item.substr(6, space - 6).c_str(),
                                          std::stoi(item.substr(space + 1)));
                }
            }
            EXPECT_LEDGER_BALANCED(host);
        }
    }
}

// The scene set up in the module; null when no OpenGL context can be made.
std::unique_ptr<host::SceneRenderer> Start(const host::Scene& scene) {
    try {
        return std::make_unique<host::SceneRenderer>(QUORVEL_MODULE_PATH, scene);
    } catch (const host::SetupError&) {
        return nullptr;
    }
}

TEST(FaultSweep, EveryHostCallOfTheExampleFramesFailsOnce) {
    for (const char* name : {"default_look", "strips_wireframe", "animation", "noise_distortion"}) {
        SCOPED_TRACE(name);
        const host::Scene scene = LoadScene(name);
        const std::unique_ptr<host::SceneRenderer> renderer = Start(scene);
        if (renderer == nullptr) {
            GTEST_SKIP() << "no OpenGL context";
        }
        host::Host& host = renderer->host();
        host.faults().StartJournal();
        const std::vector<host::RenderedFrame> reference = renderer->Render({scene.time});
        ASSERT_EQ(reference[0].result.Err(), PF_Err_NONE) << reference[0].result.message;
        Sweep(
            CallsOf(host.faults().Journal()), [&]() -> host::Host& { return host; },
            [&](const Call& call, bool giveNull) {
                const std::vector<host::RenderedFrame> frames = renderer->Render({scene.time});
                if (frames[0].result.Err() == PF_Err_NONE && !MayChangeThePicture(call, giveNull)) {
                    const WorldDifference difference =
                        CompareWorlds(*reference[0].output, *frames[0].output, 0.0f);
                    EXPECT_TRUE(difference.sameShape && difference.pixelsBeyondTolerance == 0);
                }
            });
        EXPECT_EQ(renderer->SetDown(), PF_Err_NONE);
        EXPECT_LEDGER_BALANCED(host);
    }
}

// The set-down commands of a scene that rendered a frame: each call fails once on an instance
// of its own.
TEST(FaultSweep, EveryHostCallOfTheSetDownFailsOnce) {
    const host::Scene scene = LoadScene("default_look");
    std::vector<Call> calls;
    {
        // One host at a time.
        const std::unique_ptr<host::SceneRenderer> first = Start(scene);
        if (first == nullptr) {
            GTEST_SKIP() << "no OpenGL context";
        }
        ASSERT_EQ(first->Render({scene.time})[0].result.Err(), PF_Err_NONE);
        first->host().faults().StartJournal();
        ASSERT_EQ(first->SetDown(), PF_Err_NONE);
        calls = CallsOf(first->host().faults().Journal());
    }
    std::unique_ptr<host::SceneRenderer> renderer;
    Sweep(
        calls,
        [&]() -> host::Host& {
            renderer.reset();  // one host at a time
            renderer = Start(scene);
            EXPECT_EQ(renderer->Render({scene.time})[0].result.Err(), PF_Err_NONE);
            return renderer->host();
        },
        [&](const Call&, bool) { renderer->SetDown(); });
}

// The bytes of the three pictures in a directory; an empty list when one is missing.
std::vector<std::string> Pictures(const fs::path& directory) {
    std::vector<std::string> pictures;
    for (const char* file : {"effect-controls.png", "composition.png", "layer.png"}) {
        std::ifstream in(directory / file, std::ios::binary);
        if (!in) {
            return {};
        }
        pictures.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return pictures;
}

TEST(FaultSweep, EveryHostCallOfTheUiPicturesFailsOnce) {
    const host::Scene scene = LoadScene("ui_pictures");
    const std::unique_ptr<host::SceneRenderer> renderer = Start(scene);
    if (renderer == nullptr) {
        GTEST_SKIP() << "no OpenGL context";
    }
    host::Host& host = renderer->host();
    const fs::path directory = fs::path(QUORVEL_BINARY_DIR) / "fault_sweep_pictures";
    fs::remove_all(directory);
    fs::create_directories(directory / "reference");
    const LayerSize size = {scene.width, scene.height};
    host.faults().StartJournal();
    std::string unwritten;
    ASSERT_TRUE(DrawPictures(host, size, (directory / "reference").string(), unwritten));
    const std::vector<Call> calls = CallsOf(host.faults().Journal());
    const std::vector<std::string> reference = Pictures(directory / "reference");
    ASSERT_EQ(reference.size(), 3u);
    Sweep(
        calls,
        [&]() -> host::Host& {
            fs::remove_all(directory / "run");
            fs::create_directories(directory / "run");
            return host;
        },
        [&](const Call& call, bool giveNull) {
            if (DrawPictures(host, size, (directory / "run").string(), unwritten) &&
                !MayChangeThePicture(call, giveNull)) {
                EXPECT_TRUE(Pictures(directory / "run") == reference);
            }
        });
    EXPECT_EQ(renderer->SetDown(), PF_Err_NONE);
    EXPECT_LEDGER_BALANCED(host);
}

}  // namespace
}  // namespace quorvel::testing
