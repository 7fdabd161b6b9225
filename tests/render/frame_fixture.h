#pragma once

// Frames through the module as the host loads it: the host's worlds, masks, parameters,
// ledger and fault injection around SMART_PRE_RENDER and SMART_RENDER.
#include <initializer_list>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "host/frame_driver.h"
#include "host/mask_path.h"
#include "host/world.h"
#include "tests/support/module_host.h"

namespace quorvel::testing {

inline constexpr host::Depth kDepths[] = {host::Depth::Bits8, host::Depth::Bits16,
                                          host::Depth::Float};

// A test card in the depth's own units: alphas of 1, 1/2, 1/4 and 1/8 and colours in
// sixteenths, which premultiplying and dividing again give back; in float a red above 1, in
// 16 bits a green of 32768 in column 1.
void FillPattern(host::World& world);

// The largest channel difference over b's rows [firstRow, endRow) (all rows by default),
// where a has a pixel, relative to values above 1; b's pixels outside a must be transparent
// black.
float Difference(const host::World& a, const host::World& b, A_long firstRow = 0,
                 A_long endRow = -1);

// What a frame through the conversions keeps of the test card: 8-bit frames come back
// exactly and 16-bit ones within a unit. Float frames are exact where alpha is 1; elsewhere
// the output conversion's division by alpha costs the driver's division precision
// (llvmpipe divides through a reciprocal).
float Tolerance(host::Depth depth);

// An open mask along the straight line from (x0, y0) to (x1, y1), its tangents a third of
// the way along, so that it runs at even speed.
host::MaskPath StraightMask(const char* name, double x0, double y0, double x1, double y1);

// The module loaded, set up globally, with its parameters and a sequence; skips when no
// OpenGL context can be made. At the end the instance is set down and the host's ledger must
// be balanced (or hold exactly leftByDesign_).
class FrameTest : public ModuleTest {
  protected:
    void SetUp() override;
    void TearDown() override;

    // A parameter's value (number, checkbox, popup choice) by its display name.
    void Set(const char* displayName, double value);
    // A ramp parameter's curve by display name: interpolation and key points (t, v).
    void SetRamp(const char* displayName, int32_t interpolation,
                 std::initializer_list<std::pair<float, float>> points);
    // The layer's two masks, chosen by "Mask 1" and "Mask 2".
    void SetMasks(const host::MaskPath& first, const host::MaskPath& second);
    // The time of the next frames.
    void SetSeconds(double seconds);

    // A frame that gives back everything it took and leaves the thread's OpenGL context as it
    // found it.
    host::FrameResult Render(host::World& input, host::World& output);

    bool setUp_ = false;
    // What a test leaves in the host on purpose.
    std::map<std::string, long> leftByDesign_;
};

}  // namespace quorvel::testing
