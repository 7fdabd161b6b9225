// Any bytes as a saved ramp: the reader never reads past the host's count, restores a curve
// that keeps the curve's promises, and what it restores saves and restores to the same bytes.
#include <cstdint>
#include <vector>

#include "fuzz/curve_promises.h"
#include "ramp/flat_ramp.h"

namespace {

std::vector<unsigned char> Flat(const Ramp& ramp) {
    std::vector<unsigned char> bytes(size_t(ramp.Flatten(nullptr)));
    ramp.Flatten(bytes.data());
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ScopedRamp ramp = NewDefault();
    const PF_Err err = ReadFlatRamp(data, A_u_long(size), &*ramp);
    const std::vector<unsigned char> saved = Flat(*ramp);
    ScopedRamp restored = NewDefault();
    if ((err != PF_Err_NONE && err != PF_Err_INTERNAL_STRUCT_DAMAGED) ||
        !KeepsCurvePromises(*ramp) ||
        ReadFlatRamp(saved.data(), A_u_long(saved.size()), &*restored) != PF_Err_NONE ||
        Flat(*restored) != saved) {
        __builtin_trap();
    }
    return 0;
}
