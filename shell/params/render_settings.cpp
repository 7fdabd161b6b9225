#include "shell/params/render_settings.h"

#include <cstddef>

#include "shell/params/param_index.h"

namespace {

using CopyValue = void (*)(RenderSettings& settings, const PF_ParamDef& def);

struct SnapshotField {
    ParamIndex index;
    CopyValue copy;
};

// How a checked-out value becomes its field, by the parameter's kind.
#define QUORVEL_SNAPSHOT_ENTRY(NAME, COPY) \
    {PARAM_##NAME, [](RenderSettings& s, const PF_ParamDef& d) { COPY; }},
#define QUORVEL_SNAPSHOT_PATH(NAME, FIELD) \
    QUORVEL_SNAPSHOT_ENTRY(NAME, s.FIELD = d.u.path_d.path_id)
#define QUORVEL_SNAPSHOT_GROUP_START(NAME, FIELD)
#define QUORVEL_SNAPSHOT_GROUP_END(NAME, FIELD)
#define QUORVEL_SNAPSHOT_FLOAT_SLIDER(NAME, FIELD) \
    QUORVEL_SNAPSHOT_ENTRY(NAME, s.FIELD = d.u.fs_d.value)
#define QUORVEL_SNAPSHOT_SLIDER(NAME, FIELD) QUORVEL_SNAPSHOT_ENTRY(NAME, s.FIELD = d.u.sd.value)
#define QUORVEL_SNAPSHOT_CHECKBOX(NAME, FIELD) \
    QUORVEL_SNAPSHOT_ENTRY(NAME, s.FIELD = static_cast<uint8_t>(d.u.bd.value & 0xFF))
#define QUORVEL_SNAPSHOT_POPUP(NAME, FIELD) QUORVEL_SNAPSHOT_ENTRY(NAME, s.FIELD = d.u.pd.value)
#define QUORVEL_SNAPSHOT_ARBITRARY_DATA(NAME, FIELD) \
    QUORVEL_SNAPSHOT_ENTRY(NAME, s.FIELD = d.u.arb_d.value)
#define QUORVEL_SNAPSHOT(NAME, SAVED_ID, DISPLAY_NAME, KIND, FIELD, DETAIL) \
    QUORVEL_SNAPSHOT_##KIND(NAME, FIELD)

constexpr SnapshotField kSnapshotFields[] = {QUORVEL_PARAMETERS(QUORVEL_SNAPSHOT)};

static_assert(sizeof(kSnapshotFields) / sizeof(kSnapshotFields[0]) == 57,
              "the snapshot holds the 57 value parameters");

// Static storage: zero in every byte, padding included.
const PF_ParamDef kEmptyDef{};

}  // namespace

RenderSettings::~RenderSettings() {
    if (!paramDefs.empty()) {
        CheckinAll(inData);
    }
}

PF_Err RenderSettings::CheckoutAll() {
    if (paramDefs.capacity() < PARAM_COUNT) {
        paramDefs.reserve(PARAM_COUNT);
        heldByHost.reserve(PARAM_COUNT);
    }
    PF_Err result = PF_Err_NONE;
    for (const SnapshotField& field : kSnapshotFields) {
        heldByHost.push_back(false);
        paramDefs.push_back(kEmptyDef);
        if (result != PF_Err_NONE) {
            continue;
        }
        PF_ParamDef& def = paramDefs.back();
        result = inData->inter.checkout_param(inData->effect_ref, field.index, inData->current_time,
                                              inData->time_step, inData->time_scale, &def);
        if (result == PF_Err_NONE) {
            heldByHost.back() = true;
            field.copy(*this, def);
        }
    }
    return result;
}

PF_Err RenderSettings::CheckinAll(PF_InData* in_data) {
    PF_Err result = PF_Err_NONE;
    for (size_t i = 0; i < paramDefs.size() && result == PF_Err_NONE; ++i) {
        if (i < heldByHost.size() && heldByHost[i]) {
            result = in_data->inter.checkin_param(in_data->effect_ref, &paramDefs[i]);
        }
    }
    paramDefs.clear();
    heldByHost.clear();
    return result;
}
