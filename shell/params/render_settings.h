#pragma once

#include <cstdint>
#include <vector>

#include "host_api/effect.h"
#include "shell/params/param_list.h"

// The type of a snapshot field by the parameter's kind; groups carry no value.
#define QUORVEL_SNAPSHOT_FIELD_PATH(FIELD) PF_PathID FIELD;
#define QUORVEL_SNAPSHOT_FIELD_GROUP_START(FIELD)
#define QUORVEL_SNAPSHOT_FIELD_GROUP_END(FIELD)
#define QUORVEL_SNAPSHOT_FIELD_FLOAT_SLIDER(FIELD) double FIELD;
#define QUORVEL_SNAPSHOT_FIELD_SLIDER(FIELD) int32_t FIELD;
#define QUORVEL_SNAPSHOT_FIELD_CHECKBOX(FIELD) uint8_t FIELD;
#define QUORVEL_SNAPSHOT_FIELD_POPUP(FIELD) int32_t FIELD;
#define QUORVEL_SNAPSHOT_FIELD_ARBITRARY_DATA(FIELD) PF_ArbitraryH FIELD;
#define QUORVEL_SNAPSHOT_FIELD(NAME, SAVED_ID, DISPLAY_NAME, KIND, FIELD, DETAIL) \
    QUORVEL_SNAPSHOT_FIELD_##KIND(FIELD)

// The values of all 57 value parameters at one frame's time, in ParamIndex order, with the
// definitions the host filled for them. The fields are named in the snapshot column of
// param_list.h (mask1PathId, offset, quorvelRamp, ...): path ids and ramp handles as the host
// gave them, float sliders as the host's double, checkboxes as the low byte of the value,
// popups as the 1-based choice, integer sliders as they are. Ramp handles and path ids are
// meaningful only between CheckoutAll and CheckinAll, and the fields only after a CheckoutAll
// that returned 0. What is still checked out when the snapshot ends is checked in then, without
// a word: CheckinAll is what reports the host's answer.
struct RenderSettings {
    RenderSettings() = default;
    ~RenderSettings();
    RenderSettings(const RenderSettings&) = delete;
    RenderSettings& operator=(const RenderSettings&) = delete;

    // Checks the 57 value parameters out at inData's current time and fills the fields. Always
    // appends 57 definitions; after a failed check-out no later parameter is asked for and no
    // later field is written. Returns the first host error, or 0.
    PF_Err CheckoutAll();

    // Gives every definition the host really checked out back to it, until one check-in
    // fails; empties the list either way. Returns the first host error, or 0.
    PF_Err CheckinAll(PF_InData* in_data);

    QUORVEL_PARAMETERS(QUORVEL_SNAPSHOT_FIELD)

    PF_InData* inData;
    std::vector<PF_ParamDef> paramDefs;
    // Parallel to paramDefs: whether the host handed that definition out. After a failed
    // check-out the failing definition and the ones after it were never the host's.
    std::vector<bool> heldByHost;
};

#undef QUORVEL_SNAPSHOT_FIELD
#undef QUORVEL_SNAPSHOT_FIELD_PATH
#undef QUORVEL_SNAPSHOT_FIELD_GROUP_START
#undef QUORVEL_SNAPSHOT_FIELD_GROUP_END
#undef QUORVEL_SNAPSHOT_FIELD_FLOAT_SLIDER
#undef QUORVEL_SNAPSHOT_FIELD_SLIDER
#undef QUORVEL_SNAPSHOT_FIELD_CHECKBOX
#undef QUORVEL_SNAPSHOT_FIELD_POPUP
#undef QUORVEL_SNAPSHOT_FIELD_ARBITRARY_DATA
