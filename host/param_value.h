#pragma once

#include <cstdint>
#include <vector>

#include "host_api/effect.h"

namespace quorvel::host {

// A parameter's value as the host's user sets it and as a saved project holds it: the number
// of a slider, checkbox, popup (1-based choice) or path (its path id), or a ramp in the
// effect's flat form.
struct ParamValue {
    double number = 0.0;
    std::vector<uint8_t> flatRamp;
};

// Equal numbers bit for bit (so a NaN equals itself) and equal flat forms.
bool operator==(const ParamValue& a, const ParamValue& b);
inline bool operator!=(const ParamValue& a, const ParamValue& b) {
    return !(a == b);
}

// Puts number into the value member of a definition of type; false when the type holds no
// number or the number does not fit (an integer that is not whole, NaN, outside 32 bits).
bool NumberToValue(PF_ParamType type, double number, PF_ParamDefUnion* value);

// The number a definition's value member holds; 0 for types without a number.
double ValueToNumber(PF_ParamType type, const PF_ParamDefUnion& value);

}  // namespace quorvel::host
