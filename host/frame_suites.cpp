#include "host/frame_suites.h"

#include "host/pixel_access.h"

namespace quorvel::host {

namespace {

// Worlds are made by the host itself, never through the suite.
PF_Err NewWorldRefused(PF_ProgPtr, A_long, A_long, PF_Boolean, PF_PixelFormat, PF_EffectWorld*) {
    return PF_Err_BAD_CALLBACK_PARAM;
}
PF_Err DisposeWorldRefused(PF_ProgPtr, PF_EffectWorld*) {
    return PF_Err_BAD_CALLBACK_PARAM;
}

}  // namespace

const PF_WorldSuite2* WorldSuite2() {
    static const PF_WorldSuite2 suite = {NewWorldRefused, DisposeWorldRefused, GetPixelFormat};
    return &suite;
}

const PF_PixelDataSuite1* PixelDataSuite1() {
    static const PF_PixelDataSuite1 suite = {GetPixelData8, GetPixelData16, GetPixelDataFloat};
    return &suite;
}

const PF_iterateFloatSuite1* IterateFloatSuite1() {
    static const PF_iterateFloatSuite1 suite = {IterateFloat};
    return &suite;
}

}  // namespace quorvel::host
