#pragma once

#include "host_api/suites.h"

// The suites of the host that serve a frame's pixels and the interface colours: "PF World
// Suite" 2 (PF_GetPixelFormat), "PF Pixel Data Suite" 1, "PF iterateFloat Suite" 1 and
// "PF AE App Suite" 6.
namespace quorvel::host {

const PF_WorldSuite2* WorldSuite2();
const PF_PixelDataSuite1* PixelDataSuite1();
const PF_iterateFloatSuite1* IterateFloatSuite1();
const PF_AppSuite6* AppSuite6();

// The interface colours the App suite reports: the background and the colour of each
// PF_App_ColorType (a type never set is mid grey).
void SetAppBackgroundColor(const PF_App_Color& color);
void SetAppColor(PF_App_ColorType type, const PF_App_Color& color);

}  // namespace quorvel::host
