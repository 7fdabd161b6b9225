#include "host/param_value.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace quorvel::host {

namespace {

template <typename Integer>
bool ToInteger(double number, Integer* out) {
    if (!(number >= static_cast<double>(std::numeric_limits<Integer>::min()) &&
          number <= static_cast<double>(std::numeric_limits<Integer>::max()) &&
          std::trunc(number) == number)) {
        return false;
    }
    *out = static_cast<Integer>(number);
    return true;
}

}  // namespace

bool operator==(const ParamValue& a, const ParamValue& b) {
    return std::memcmp(&a.number, &b.number, sizeof a.number) == 0 && a.flatRamp == b.flatRamp;
}

bool NumberToValue(PF_ParamType type, double number, PF_ParamDefUnion* value) {
    switch (type) {
        case PF_Param_FLOAT_SLIDER:
            value->fs_d.value = number;
            return true;
        case PF_Param_SLIDER:
            return ToInteger(number, &value->sd.value);
        case PF_Param_CHECKBOX:
            return ToInteger(number, &value->bd.value);
        case PF_Param_POPUP:
            return ToInteger(number, &value->pd.value);
        case PF_Param_PATH:
            return ToInteger(number, &value->path_d.path_id);
        default:
            return false;
    }
}

double ValueToNumber(PF_ParamType type, const PF_ParamDefUnion& value) {
    switch (type) {
        case PF_Param_FLOAT_SLIDER:
            return value.fs_d.value;
        case PF_Param_SLIDER:
            return value.sd.value;
        case PF_Param_CHECKBOX:
            return value.bd.value;
        case PF_Param_POPUP:
            return value.pd.value;
        case PF_Param_PATH:
            return value.path_d.path_id;
        default:
            return 0.0;
    }
}

}  // namespace quorvel::host
