#include "ui/ramp_editor_plot.h"

#include <cmath>
#include <cstring>
#include <limits>

#include "shell/params/param_index.h"
#include "shell/toolkit/errors.h"
#include "shell/toolkit/locked_handle.h"

namespace {

// The inset of the plot inside the control's frame.
constexpr int64_t kInset = 6;
// How near a click must come to a key point, in plot pixels on each axis.
constexpr float kHitTolerance = 10.0f;
constexpr size_t kDragWords = 3;

}  // namespace

RampPlot RampPlot::Of(const PF_Rect& frame) {
    RampPlot plot;
    plot.frame = frame;
    plot.left = int64_t{frame.left} + kInset;
    plot.top = int64_t{frame.top} + kInset;
    plot.width = (int64_t{frame.right} - kInset) - plot.left;
    const int64_t bottom = int64_t{frame.bottom} - kInset;
    plot.height = (bottom > plot.top ? bottom : plot.top) - plot.top;
    return plot;
}

float RampPlot::X(int64_t h) const {
    return static_cast<float>(h - left) / static_cast<float>(width);
}

float RampPlot::Y(int64_t v) const {
    return static_cast<float>(v - top) / static_cast<float>(height);
}

RampDragState RampDragState::Read(const PF_DoClickEventInfo& click) {
    unsigned char bytes[kDragWords * 4];
    std::memcpy(bytes, click.continue_refcon, sizeof(bytes));
    int32_t words[kDragWords];
    for (size_t i = 0; i < kDragWords; ++i) {
        const uint32_t word = uint32_t{bytes[i * 4]} | uint32_t{bytes[i * 4 + 1]} << 8 |
                              uint32_t{bytes[i * 4 + 2]} << 16 | uint32_t{bytes[i * 4 + 3]} << 24;
        std::memcpy(&words[i], &word, sizeof(word));
    }
    return RampDragState{words[0], words[1], words[2]};
}

void RampDragState::Write(PF_DoClickEventInfo* click) const {
    static_assert(sizeof(click->continue_refcon) >= kDragWords * 4, "room for the drag state");
    const int32_t words[kDragWords] = {dx, dy, index};
    unsigned char bytes[kDragWords * 4];
    for (size_t i = 0; i < kDragWords; ++i) {
        uint32_t word;
        std::memcpy(&word, &words[i], sizeof(word));
        for (size_t b = 0; b < 4; ++b) {
            bytes[i * 4 + b] = static_cast<unsigned char>(word >> (8 * b));
        }
    }
    std::memcpy(click->continue_refcon, bytes, sizeof(bytes));
}

int32_t TruncateToInt32(float value) {
    if (std::isnan(value)) {
        return 0;
    }
    if (value <= -2147483648.0f) {
        return std::numeric_limits<int32_t>::min();
    }
    if (value >= 2147483648.0f) {
        return std::numeric_limits<int32_t>::max();
    }
    return static_cast<int32_t>(value);
}

int32_t SaturateToInt32(int64_t value) {
    if (value < std::numeric_limits<int32_t>::min()) {
        return std::numeric_limits<int32_t>::min();
    }
    if (value > std::numeric_limits<int32_t>::max()) {
        return std::numeric_limits<int32_t>::max();
    }
    return static_cast<int32_t>(value);
}

int32_t HitKeyPoint(const Ramp& ramp, const RampPlot& plot, float x, float y) {
    const float toleranceX = kHitTolerance / static_cast<float>(plot.width);
    const float toleranceY = kHitTolerance / static_cast<float>(plot.height);
    int32_t index = 0;
    for (const auto& [t, p] : *ramp.points) {
        if (std::fabs(t - x) < toleranceX && std::fabs((1.0f - p) - y) < toleranceY) {
            return index;
        }
        ++index;
    }
    return -1;
}

Ramp& RampIn(const LockedHandle& locked) {
    Ramp* ramp = locked.As<Ramp>();
    if (ramp->points == nullptr) {
        throw ReportedAsOutOfMemory(PF_Err_OUT_OF_MEMORY);
    }
    return *ramp;
}

PF_Handle RampValueHandle(const PF_InData* in_data, PF_ParamDef* params[],
                          const PF_EventExtra* extra) {
    const PF_ParamDef* param = ParamAt(in_data, params, extra->effect_win.index);
    if (param == nullptr || param->param_type != PF_Param_ARBITRARY_DATA ||
        param->u.arb_d.value == nullptr) {
        throw Exception(PF_Err_BAD_CALLBACK_PARAM);
    }
    return param->u.arb_d.value;
}
