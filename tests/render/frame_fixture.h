#pragma once

// Frames through the module as the host loads it: the host's worlds, masks, parameters,
// ledger and fault injection around SMART_PRE_RENDER and SMART_RENDER.
#include <map>
#include <string>

#include <gtest/gtest.h>

#include "host/frame_driver.h"
#include "host/mask_path.h"
#include "host/world.h"
#include "tests/support/module_params.h"

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

    // A parameter's value by its display name.
    void SetValue(const char* displayName, const host::ParamValue& value);
    // A number, checkbox or popup choice.
    void Set(const char* displayName, double value) { SetValue(displayName, Number(value)); }
    // A ramp's curve: interpolation and key points (t, v).
    void SetRamp(const char* displayName, int32_t interpolation, const Points& points) {
        SetValue(displayName, Flat(RampMode_All, interpolation, points));
    }
    // The layer's two masks, chosen by "Mask 1" and "Mask 2".
    void SetMasks(const host::MaskPath& first, const host::MaskPath& second);
    // The time of the next frames.
    void SetSeconds(double seconds);

    // A frame that leaves the thread's OpenGL context as it found it, no layer checked out and
    // no misuse, and (when balanced) gives back everything it took.
    host::FrameResult Render(host::World& input, host::World& output, bool balanced = true);

    bool setUp_ = false;
    // What a test leaves in the host on purpose.
    std::map<std::string, long> leftByDesign_;
};

}  // namespace quorvel::testing
