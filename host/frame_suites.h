#pragma once

#include "host_api/suites.h"

// The suites of the host that serve a frame's pixels: "PF World Suite" 2 (PF_GetPixelFormat),
// "PF Pixel Data Suite" 1 and "PF iterateFloat Suite" 1.
namespace quorvel::host {

const PF_WorldSuite2* WorldSuite2();
const PF_PixelDataSuite1* PixelDataSuite1();
const PF_iterateFloatSuite1* IterateFloatSuite1();

}  // namespace quorvel::host
