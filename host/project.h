#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "host/param_value.h"
#include "host_api/effect.h"

namespace quorvel::host {

class EffectInstance;

// One parameter as a saved project holds it: found again by its saved id, with its value and
// keyframes (ramps in the effect's flat form).
struct SavedParameter {
    A_long savedId = 0;
    PF_ParamType type = PF_Param_NO_DATA;
    ParamValue value;
    std::vector<std::pair<double, ParamValue>> keyframes;
};

// What the host writes into a project for one effect instance: nothing but bytes and numbers,
// so it outlives the host and the module that made it.
struct SavedProject {
    std::vector<SavedParameter> parameters;
    // The flat sequence record; empty when the instance had no sequence data.
    std::vector<uint8_t> sequence;
};

// Saves the instance as the host does when it writes a project: the sequence data through
// SEQUENCE_FLATTEN (and SEQUENCE_RESETUP, so the instance goes on with live data), every
// parameter with a value by its saved id, ramps through FLAT_SIZE and FLATTEN. The first error
// is returned; project is filled only on success.
PF_Err SaveProject(EffectInstance& effect, SavedProject* project);

// Restores a saved project into an instance that has had GLOBAL_SETUP: PARAMS_SETUP, the
// saved sequence record through SEQUENCE_RESETUP, then every saved value and keyframe by saved
// id (ramps through UNFLATTEN). A saved parameter the effect no longer has, or whose type
// changed, is skipped, as the host skips streams it cannot match. The first error is returned.
PF_Err RestoreProject(EffectInstance& effect, const SavedProject& project);

}  // namespace quorvel::host
