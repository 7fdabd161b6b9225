// Any bytes as a saved ramp: the reader never reads past the host's count, restores a curve
// that keeps the curve's promises, and what it restores saves and restores to the same bytes.
#include <cstdint>
#include <cstring>
#include <vector>

#include "fuzz/curve_promises.h"
#include "ramp/flat_ramp.h"
#include "ramp/scoped_ramp.h"

namespace {

std::vector<unsigned char> Flat(const Ramp& ramp) {
    std::vector<unsigned char> bytes(size_t(ramp.Flatten(nullptr)));
    ramp.Flatten(bytes.data());
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ScopedRamp ramp(RampMode_All, RampInterpolation_Sin, {{0.0f, 1.0f}, {1.0f, 1.0f}});
    const PF_Err err = ReadFlatRamp(data, A_u_long(size), &*ramp);
    if (err != PF_Err_NONE && err != PF_Err_INTERNAL_STRUCT_DAMAGED) {
        __builtin_trap();
    }
    CheckCurvePromises(*ramp);
    const std::vector<unsigned char> saved = Flat(*ramp);
    ScopedRamp restored(RampMode_All, RampInterpolation_Sin, {{0.0f, 1.0f}, {1.0f, 1.0f}});
    if (ReadFlatRamp(saved.data(), A_u_long(saved.size()), &*restored) != PF_Err_NONE ||
        Flat(*restored) != saved) {
        __builtin_trap();
    }
    return 0;
}
