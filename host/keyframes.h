#pragma once

#include <cstddef>
#include <vector>

#include "host_api/effect.h"

namespace quorvel::host {

// One keyframe of a parameter: from this time (seconds) the parameter takes this value. For a
// ramp the value holds the host's handle of the curve.
struct Keyframe {
    double time;
    PF_ParamDefUnion value;
};

// Where a time falls among a parameter's keyframes (ascending by time, at least one): the
// keyframe at or before it and the one after, with the fraction of the way between them.
// Before the first key, at a key and after the last key the fraction is 0 and both are the
// same key: the value needs no interpolation.
struct KeySpan {
    size_t left;
    size_t right;
    double fraction;
};

KeySpan FindKeySpan(const std::vector<Keyframe>& keys, double time);

// The value fraction of the way from left to right for the parameter types whose values the
// host interpolates itself: float sliders linearly, integer sliders linearly and then rounded
// (within the 32-bit range); checkboxes, popups and paths keep the earlier key's value. Ramps
// are the effect's to interpolate and are not handled here.
PF_ParamDefUnion InterpolateValue(PF_ParamType type, const PF_ParamDefUnion& left,
                                  const PF_ParamDefUnion& right, double fraction);

}  // namespace quorvel::host
