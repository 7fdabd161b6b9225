#include "tests/support/aegp_calls.h"

namespace quorvel::testing {

// clang-format off
const std::vector<const char*> kAegpWalkCalls = {
    "AEGP_GetNewEffectForEffect", "AEGP_GetEffectLayer", "AEGP_GetLayerNumMasks",
    "AEGP_GetLayerMaskByIndex", "AEGP_GetMaskColor", "AEGP_GetNewMaskStream",
    "AEGP_GetNewParentStreamRef", "AEGP_GetStreamName", "AEGP_LockMemHandle",
    "AEGP_UnlockMemHandle", "AEGP_FreeMemHandle", "AEGP_GetNewStreamValue",
    "AEGP_GetMaskOutlineNumSegments", "AEGP_GetMaskOutlineVertexInfo"};
// clang-format on

const std::vector<const char*> kAegpDisposals = {"AEGP_DisposeStreamValue", "AEGP_DisposeStream",
                                                 "AEGP_DisposeMask", "AEGP_DisposeEffect"};

}  // namespace quorvel::testing
