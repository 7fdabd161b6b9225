// Any bytes as the host's text to scan: the reader stays inside the byte count, text it does
// not take leaves the ramp as it was, text it takes gives a curve that keeps the curve's
// promises and prints back to text that it takes again to the same ramp.
#include <cstdint>
#include <string>

#include "fuzz/curve_promises.h"
#include "ramp/ramp_text.h"
#include "ramp/scoped_ramp.h"

namespace {

bool IsNewDefault(const Ramp& ramp) {
    return ramp.mode == RampMode_All && ramp.interpolation == RampInterpolation_Sin &&
           *ramp.points == RampPoints{{0.0f, 1.0f}, {1.0f, 1.0f}};
}

// Reads text into a fresh default ramp and prints it again; traps when the text is refused.
std::string Reprint(const std::string& text) {
    ScopedRamp ramp(RampMode_All, RampInterpolation_Sin, {{0.0f, 1.0f}, {1.0f, 1.0f}});
    if (ReadRampText(text.data(), text.size(), &*ramp) != PF_Err_NONE) {
        __builtin_trap();
    }
    return RampToText(*ramp);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ScopedRamp ramp(RampMode_All, RampInterpolation_Sin, {{0.0f, 1.0f}, {1.0f, 1.0f}});
    const PF_Err err = ReadRampText(reinterpret_cast<const char*>(data), size, &*ramp);
    if (err != PF_Err_NONE) {
        if (err != PF_Err_UNRECOGNIZED_PARAM_TYPE || !IsNewDefault(*ramp)) {
            __builtin_trap();
        }
        return 0;
    }
    CheckCurvePromises(*ramp);
    // Keys that differ beyond six digits print alike and become one, so the printed form is
    // settled after one reading, not before.
    const std::string printed = Reprint(RampToText(*ramp));
    if (Reprint(printed) != printed) {
        __builtin_trap();
    }
    return 0;
}
