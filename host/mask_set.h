#pragma once

#include <string>
#include <vector>

#include "host/mask_path.h"

namespace quorvel::host {

// The masks of one layer. Ids are given in the order the masks are added, from 1, so that a
// path parameter's 0 keeps meaning "no mask".
class MaskSet {
  public:
    PF_PathID Add(MaskPath mask);
    const MaskPath* Find(PF_PathID id) const;
    // The id of the first mask of that name, or 0.
    PF_PathID IdOf(const std::string& name) const;

    std::vector<MaskPath> masks;
};

}  // namespace quorvel::host
