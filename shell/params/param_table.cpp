#include "shell/params/param_table.h"

#include <cfloat>

#include "ramp/ramp.h"

namespace {

constexpr A_short kPercent = PF_ValueDisplayFlag_PERCENT;
constexpr A_short kPlain = PF_ValueDisplayFlag_NONE;
constexpr PF_ParamFlags kCollapseTwirly = PF_ParamFlag_COLLAPSE_TWIRLY;
constexpr PF_ParamFlags kSupervise = PF_ParamFlag_SUPERVISE;
constexpr PF_ParamFlags kCannotTimeVary = PF_ParamFlag_CANNOT_TIME_VARY;

// Default curves of the ramp parameters. 0.1, 0.33 and 0.9 are the nearest floats.
constexpr DefaultCurve kDensityCurve = {
    RampMode_WithoutSin, RampInterpolation_Sin, 2, {{0.0f, 0.5f}, {1.0f, 0.5f}}};
constexpr DefaultCurve kQuorvelCurve = {
    RampMode_All, RampInterpolation_Bezier, 3, {{0.0f, 0.0f}, {0.1f, 1.0f}, {1.0f, 1.0f}}};
constexpr DefaultCurve kPerpendicularCurve = {
    RampMode_All,
    RampInterpolation_Sin,
    4,
    {{0.0f, 0.0f}, {0.1f, 1.0f}, {0.9f, 1.0f}, {1.0f, 0.0f}}};
constexpr DefaultCurve kDistortionAlongCurve = {
    RampMode_All, RampInterpolation_Sin, 3, {{0.0f, 0.0f}, {0.33f, 1.0f}, {1.0f, 1.0f}}};
constexpr DefaultCurve kFullCurve = {
    RampMode_All, RampInterpolation_Sin, 2, {{0.0f, 1.0f}, {1.0f, 1.0f}}};

constexpr A_short CountChoices(const char* choices) {
    A_short count = 1;
    for (const char* c = choices; *c != '\0'; ++c) {
        count = static_cast<A_short>(count + (*c == '|' ? 1 : 0));
    }
    return count;
}

constexpr ParamDetail PathDetail() {
    return ParamDetail{};
}

constexpr ParamDetail GroupDetail() {
    return ParamDetail{};
}

// The low and the high end of a slider's values.
struct Range {
    double low;
    double high;
};

constexpr ParamDetail FloatDetail(Range valid, Range slider, double dephault, A_short precision,
                                  A_short displayFlags) {
    ParamDetail d{};
    d.validMin = valid.low;
    d.validMax = valid.high;
    d.sliderMin = slider.low;
    d.sliderMax = slider.high;
    d.dephault = dephault;
    d.precision = precision;
    d.displayFlags = displayFlags;
    return d;
}

constexpr ParamDetail IntDetail(Range valid, Range slider, A_long dephault) {
    return FloatDetail(valid, slider, dephault, 0, 0);
}

constexpr ParamDetail CheckboxDetail(bool dephault, PF_ParamFlags flags) {
    ParamDetail d = FloatDetail({0, 1}, {0, 1}, dephault ? 1 : 0, 0, 0);
    d.flags = flags;
    return d;
}

constexpr ParamDetail PopupDetail(const char* choices, int dephault) {
    const A_short count = CountChoices(choices);
    const Range choiceNumbers = {1, double(count)};
    ParamDetail d = FloatDetail(choiceNumbers, choiceNumbers, dephault, 0, 0);
    d.choices = choices;
    d.numChoices = count;
    return d;
}

constexpr ParamDetail RampDetail(PF_ParamFlags flags, const DefaultCurve& curve) {
    ParamDetail d{};
    d.flags = flags;
    d.curve = &curve;
    return d;
}

// A display name, its terminating NUL included, must fit the host's 32-byte name field.
#define QUORVEL_PARAM_NAME_FITS(NAME, SAVED_ID, DISPLAY_NAME, KIND, FIELD, DETAIL) \
    static_assert(sizeof(DISPLAY_NAME) <= PF_MAX_EFFECT_PARAM_NAME_LEN + 1,        \
                  "display name of PARAM_" #NAME " is too long");
QUORVEL_PARAMETERS(QUORVEL_PARAM_NAME_FITS)
#undef QUORVEL_PARAM_NAME_FITS

}  // namespace

constexpr ParamRecord kParamTable[kParamRecordCount] = {
#define QUORVEL_PARAM_RECORD(NAME, SAVED_ID, DISPLAY_NAME, KIND, FIELD, DETAIL) \
    {PARAM_##NAME, SAVED_ID, DISPLAY_NAME, PF_Param_##KIND, DETAIL},
    QUORVEL_PARAMETERS(QUORVEL_PARAM_RECORD)
#undef QUORVEL_PARAM_RECORD
};

namespace {

// A saved id given twice would make the host load one parameter's value into another.
constexpr bool SavedIdsAreUnique() {
    for (size_t i = 0; i < kParamRecordCount; ++i) {
        for (size_t j = i + 1; j < kParamRecordCount; ++j) {
            if (kParamTable[i].savedId == kParamTable[j].savedId) {
                return false;
            }
        }
    }
    return true;
}
static_assert(SavedIdsAreUnique(), "saved ids must be unique");

constexpr bool DefaultsAreValid() {
    for (const ParamRecord& record : kParamTable) {
        const ParamDetail& d = record.detail;
        const bool hasRange = record.type == PF_Param_FLOAT_SLIDER ||
                              record.type == PF_Param_SLIDER || record.type == PF_Param_POPUP ||
                              record.type == PF_Param_CHECKBOX;
        if (hasRange && (d.dephault < d.validMin || d.dephault > d.validMax)) {
            return false;
        }
        if (record.type == PF_Param_ARBITRARY_DATA && d.curve == nullptr) {
            return false;
        }
    }
    return true;
}
static_assert(DefaultsAreValid(), "every default must lie inside its valid range");

}  // namespace
