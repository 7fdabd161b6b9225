#pragma once

#include <cstdint>

#include "host_api/effect.h"
#include "ramp/ramp.h"

// The graph of a ramp editor inside its control's frame: a 6-pixel inset on every side, key
// t across from the left edge, value p down from the top (1 at the top).
struct RampPlot {
    // The plot of a control frame; sizes in 64 bits, so that no frame overflows them.
    static RampPlot Of(const PF_Rect& frame);

    // Whether clicks and drags can be placed: both inner sizes at least 1.
    bool HasArea() const { return width >= 1 && height >= 1; }

    // The normalised plot position of a cursor position (y grows downwards).
    float X(int64_t h) const;
    float Y(int64_t v) const;

    PF_Rect frame;
    int64_t left;  // the plot's origin, inside the inset
    int64_t top;
    int64_t width;  // W and H
    int64_t height;
};

// What a drag carries from one event to the next, in the first three little-endian 32-bit
// words of continue_refcon: the dragged key's pixel offset from the cursor when the drag
// started, and the key's index in ascending key order (-1: none). The other bytes stay.
struct RampDragState {
    static RampDragState Read(const PF_DoClickEventInfo& click);
    void Write(PF_DoClickEventInfo* click) const;

    int32_t dx;
    int32_t dy;
    int32_t index;
};

// A float truncated toward zero to 32 bits; values beyond the range stop at its ends and a
// NaN is 0.
int32_t TruncateToInt32(float value);
// A 64-bit integer held to the 32-bit range.
int32_t SaturateToInt32(int64_t value);

// The index, in ascending key order, of the first key point within 10 plot pixels of (x, y)
// on both axes (strictly); -1 when there is none.
int32_t HitKeyPoint(const Ramp& ramp, const RampPlot& plot, float x, float y);

// The Ramp of a locked value handle; a lock that gave nothing, or a Ramp without its point
// map, raises ReportedAsOutOfMemory(PF_Err_OUT_OF_MEMORY).
class LockedHandle;
Ramp& RampIn(const LockedHandle& locked);

// The value handle of the edited parameter of an effect-window event; a params array
// without an arbitrary-data parameter at that index raises
// Exception(PF_Err_BAD_CALLBACK_PARAM).
PF_Handle RampValueHandle(const PF_InData* in_data, PF_ParamDef* params[],
                          const PF_EventExtra* extra);
