#pragma once

#include "platform/testing.h"

namespace platform_egl {

// Counts the call and tells whether the test controls want it to fail this time.
bool CallFails(platform_testing::PlatformCall call);
// The extension string that wglGetExtensionsStringARB hands out (stable until the next change).
const char* CurrentExtensionString();

}  // namespace platform_egl
