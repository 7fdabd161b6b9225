#pragma once

#include <cstddef>
#include <vector>

#include "host/mask_set.h"
#include "host_api/suites.h"

namespace quorvel::host {

class EffectInstance;
class Host;

// The layer's masks that "PF Path Query Suite" 1 and "PF Path Data Suite" 1 serve, per host.
// Set them up before rendering; the suites read them from the render threads.
MaskSet& MaskPaths(Host& host);

// Gives the layer these masks, in order, for every suite that shows them: the path suites
// serve their keyframed outlines under the ids 1, 2, ... (what "Mask 1" and "Mask 2" hold),
// the AEGP mask suites their names, the colours the host gives new masks in turn, and their
// outlines at seconds. Returns the ids.
std::vector<PF_PathID> SetLayerMasks(Host& host, const std::vector<MaskPath>& masks,
                                     double seconds = 0.0);

// Paths and length preparations handed out and not yet given back.
size_t CheckedOutPaths(Host& host);
size_t LivePreparations(Host& host);

// Chooses the mask that a path parameter ("Mask 1", "Mask 2") names: 0 names none.
void ChoosePath(EffectInstance& effect, PF_ParamIndex index, PF_PathID id);

// The length-table density used when an evaluation comes without a preparation.
constexpr int kDefaultPathFrequency = 64;

}  // namespace quorvel::host
