#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "host_api/effect.h"
#include "ramp/ramp.h"

// One word of the text form and the value it stands for.
struct RampWord {
    int32_t value;
    const char* word;
};

inline constexpr char kRampTextTag[] = "Ramp";
inline constexpr char kRampTextKey[] = "t";
inline constexpr char kRampTextValue[] = "v";
inline constexpr RampWord kRampModeWords[] = {
    {RampMode_All, "all"},
    {RampMode_WithoutSin, "withoutSin"},
};
inline constexpr RampWord kRampInterpolationWords[] = {
    {RampInterpolation_Sin, "sin"},
    {RampInterpolation_Line, "line"},
    {RampInterpolation_Step, "step"},
    {RampInterpolation_Bezier, "bezier"},
};

// The one-line text form: "Ramp", the mode and interpolation words (each between blanks, left
// out for a value without a word), then " t <key> v <value>" per point in ascending t. Numbers
// are written as a default text stream writes a float.
std::string RampToText(const Ramp& ramp);

// Reads the text form back from exactly size bytes of text (no terminating NUL needed; a NUL
// inside ends the text). On success the ramp's mode, interpolation and points are replaced by
// the text's, a word left out keeping the ramp's own; text that is not the text form gives
// PF_Err_UNRECOGNIZED_PARAM_TYPE and leaves the ramp as it was.
PF_Err ReadRampText(const char* text, size_t size, Ramp* ramp);
