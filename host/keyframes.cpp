#include "host/keyframes.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace quorvel::host {

KeySpan FindKeySpan(const std::vector<Keyframe>& keys, double time) {
    // The first key after the time; the one before it is where the span starts.
    const auto after = std::upper_bound(keys.begin(), keys.end(), time,
                                        [](double t, const Keyframe& key) { return t < key.time; });
    if (after == keys.begin()) {
        return KeySpan{0, 0, 0.0};
    }
    const size_t left = static_cast<size_t>(after - keys.begin()) - 1;
    if (after == keys.end() || keys[left].time == time) {
        return KeySpan{left, left, 0.0};
    }
    const double fraction = (time - keys[left].time) / (after->time - keys[left].time);
    return KeySpan{left, left + 1, fraction};
}

PF_ParamDefUnion InterpolateValue(PF_ParamType type, const PF_ParamDefUnion& left,
                                  const PF_ParamDefUnion& right, double fraction) {
    PF_ParamDefUnion value = left;
    if (type == PF_Param_FLOAT_SLIDER) {
        value.fs_d.value = left.fs_d.value + (right.fs_d.value - left.fs_d.value) * fraction;
    } else if (type == PF_Param_SLIDER) {
        const double a = left.sd.value;
        const double exact = a + (static_cast<double>(right.sd.value) - a) * fraction;
        const double rounded = std::round(exact);
        value.sd.value = static_cast<PF_ParamValue>(
            std::clamp(rounded, static_cast<double>(std::numeric_limits<PF_ParamValue>::min()),
                       static_cast<double>(std::numeric_limits<PF_ParamValue>::max())));
    }
    return value;
}

}  // namespace quorvel::host
