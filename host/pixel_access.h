#pragma once

#include "host_api/suites.h"

// The host's answers about world pixels: the pixel-data callbacks of in_data->utils and of
// "PF Pixel Data Suite" 1, PF_GetPixelFormat of "PF World Suite" 2 and the iteration of
// "PF iterateFloat Suite" 1. A world pointer that is not a live host world is refused with
// PF_Err_BAD_CALLBACK_PARAM; a world of another depth gives no pointer and the same code.
namespace quorvel::host {

PF_Err GetPixelData8(PF_EffectWorld* world, PF_PixelPtr pixels, PF_Pixel8** out);
PF_Err GetPixelData16(PF_EffectWorld* world, PF_PixelPtr pixels, PF_Pixel16** out);
PF_Err GetPixelDataFloat(PF_EffectWorld* world, PF_PixelPtr pixels, PF_PixelFloat** out);
PF_Err GetPixelFormat(const PF_EffectWorld* world, PF_PixelFormat* format);

// Visits every pixel of area (the whole destination when null) of the float world dst, row
// by row, giving the function the source pixel at the same place (transparent black where
// the source has none) and the destination pixel to write. The first non-zero result ends
// the walk and is returned.
PF_Err IterateFloat(PF_InData* in_data, A_long progressBase, A_long progressFinal,
                    PF_EffectWorld* src, const PF_Rect* area, void* refcon,
                    PF_IteratePixelFloatFunc function, PF_EffectWorld* dst);

}  // namespace quorvel::host
