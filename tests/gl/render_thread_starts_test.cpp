// Render threads that start their contexts while other threads draw, through the module as the
// host loads it, round after round: every frame comes out as one thread alone renders it.
// Under WGL (the Windows build, under Wine) each new context is a new handle to glbinding, whose
// initialisation grows the state that drawing threads read. Where the test shares glbinding
// with the module (not on Windows, whose module carries its own copy), it also sees that while
// a context is being initialised no other thread makes an OpenGL call.
#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#ifndef _WIN32
#include <glbinding/Binding.h>
#include <glbinding/callbacks.h>
#endif

#include "tests/render/frame_fixture.h"

namespace {

using quorvel::host::Depth;
using quorvel::host::FrameResult;
using quorvel::host::World;
using quorvel::testing::Difference;
using quorvel::testing::FillPattern;
using quorvel::testing::StraightMask;

// More threads drawing at once have made Mesa's llvmpipe hang under Wine, with or without this
// module's lock (two threads waiting inside glReadPixels and glMapBuffer, its rasterizer idle).
constexpr int kDrawingThreads = 2;
constexpr int kStartsPerRound = 3;
#ifdef _WIN32
// 28 contexts in all, each a handle of its own: glbinding reallocates its per-context state at
// the 2nd, 3rd, 5th, 9th and 17th.
constexpr int kRounds = 8;
#else
// EGL contexts are all one handle to glbinding; a few starts show the exclusion.
constexpr int kRounds = 2;
#endif
constexpr int kWidth = 48;
constexpr int kHeight = 32;

#ifndef _WIN32
// Every OpenGL call of every thread is counted. A starting thread's first context switch is
// the one its context's initialisation makes; there the thread pauses and looks whether
// anyone else called OpenGL meanwhile.
std::atomic<bool> s_watching{false};
std::atomic<long> s_openGLCalls{0};
std::atomic<int> s_pauses{0};
std::atomic<long> s_callsDuringPauses{0};
thread_local bool t_starting = false;
thread_local int t_switches = 0;

void WatchContextStarts() {
    s_watching = true;
    glbinding::setBeforeCallback([](const glbinding::FunctionCall&) { ++s_openGLCalls; });
    glbinding::setCallbackMask(glbinding::CallbackMask::Before);
    // glbinding keeps a switch callback for good; it does nothing once the test is over.
    glbinding::Binding::addContextSwitchCallback([](glbinding::ContextHandle) {
        if (!s_watching || !t_starting || t_switches++ > 0) {
            return;
        }
        const long before = s_openGLCalls;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        s_callsDuringPauses += s_openGLCalls - before;
        ++s_pauses;
    });
}

#endif

using RenderThreadStarts = quorvel::testing::FrameTest;

TEST_F(RenderThreadStarts, NewThreadsStartTheirContextsWhileOthersDraw) {
    if (!setUp_) {
        return;
    }
    SetMasks(StraightMask("Top", -4, 4, kWidth + 4, 4),
             StraightMask("Bottom", -4, kHeight - 6, kWidth + 4, kHeight - 6));
    Set("Strips Enable", 1);
    Set("Distortion Noise Amplitude", 20);
    Set("Preview Wireframe Mesh", 1);
    World reference(Depth::Float, kWidth, kHeight);
    {
        World input(Depth::Float, kWidth, kHeight);
        FillPattern(input);
        ASSERT_EQ(Render(input, reference).Err(), PF_Err_NONE);
    }

    std::atomic<int> frames{0};
    std::atomic<int> wrongFrames{0};
    const auto renderFrames = [&](int count, const std::atomic<bool>* until) {
        World input(Depth::Float, kWidth, kHeight);
        World output(Depth::Float, kWidth, kHeight);
        FillPattern(input);
        for (int frame = 0; until != nullptr ? !*until : frame < count; ++frame) {
            output.Fill({0, 0, 0, 0});
            const FrameResult result = quorvel::host::RenderFrame(effect(), input, output);
            wrongFrames += result.Err() != PF_Err_NONE || result.inputCheckoutsLeft != 0 ||
                           result.misuses != 0 || Difference(reference, output) != 0.0f;
            ++frames;
        }
    };

#ifndef _WIN32
    WatchContextStarts();
#endif
    // Every thread lives until the drawing ends: Mesa's llvmpipe reads the state of every
    // context whenever one uploads or draws, without that context's lock, and a context whose
    // thread ended while others drew has been seen to make it read freed memory.
    std::atomic<bool> stop{false};
    std::vector<std::thread> threads;
    for (int thread = 0; thread < kDrawingThreads; ++thread) {
        threads.emplace_back(renderFrames, 0, &stop);
    }
    while (frames < kDrawingThreads) {
        std::this_thread::yield();
    }
    std::atomic<int> started{0};
    for (int round = 0; round < kRounds; ++round) {
        for (int thread = 0; thread < kStartsPerRound; ++thread) {
            threads.emplace_back([&] {
#ifndef _WIN32
                t_starting = true;
#endif
                renderFrames(2, nullptr);
                ++started;
                while (!stop) {
                    std::this_thread::sleep_for(std::chrono::milliseconds(2));
                }
            });
        }
        while (started < (round + 1) * kStartsPerRound) {
            std::this_thread::yield();
        }
    }
    stop = true;
    for (std::thread& thread : threads) {
        thread.join();
    }
#ifndef _WIN32
    s_watching = false;
    glbinding::setCallbackMask(glbinding::CallbackMask::None);
    glbinding::setBeforeCallback(nullptr);
    EXPECT_EQ(s_pauses, kRounds * kStartsPerRound);
    EXPECT_EQ(s_callsDuringPauses, 0);
#endif
    EXPECT_GE(frames, kDrawingThreads + 2 * kRounds * kStartsPerRound);
    EXPECT_EQ(wrongFrames, 0);
}

}  // namespace
