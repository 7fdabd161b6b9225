// Any bytes as the host's text to scan: the reader stays inside the byte count, text it does
// not take leaves the ramp as it was, text it takes gives a curve that keeps the curve's
// promises and prints back to text that it takes again to the same ramp.
#include <cstdint>
#include <string>

#include "fuzz/curve_promises.h"
#include "ramp/ramp_text.h"

namespace {

// Reads text into a fresh default ramp and prints it again; traps when the text is refused.
std::string Reprint(const std::string& text) {
    ScopedRamp ramp = NewDefault();
    if (ReadRampText(text.data(), text.size(), &*ramp) != PF_Err_NONE) {
        __builtin_trap();
    }
    return RampToText(*ramp);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ScopedRamp ramp = NewDefault();
    const PF_Err err = ReadRampText(reinterpret_cast<const char*>(data), size, &*ramp);
    if (err != PF_Err_NONE) {
        // Refused: the ramp is still the new default.
        if (err != PF_Err_UNRECOGNIZED_PARAM_TYPE || ramp->mode != RampMode_All ||
            ramp->interpolation != RampInterpolation_Sin ||
            *ramp->points != *NewDefault()->points) {
            __builtin_trap();
        }
        return 0;
    }
    // Keys that differ beyond six digits print alike and become one, so the printed form is
    // settled after one reading, not before.
    const std::string printed = Reprint(RampToText(*ramp));
    if (!KeepsCurvePromises(*ramp) || Reprint(printed) != printed) {
        __builtin_trap();
    }
    return 0;
}
