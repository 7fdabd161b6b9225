#pragma once

#include <cstddef>
#include <cstdint>

#include "host_api/effect.h"
#include "shell/params/param_index.h"

// One key point of a default curve.
struct CurvePoint {
    float t;
    float v;
};

// The curve that a ramp parameter starts with: a RampMode, a RampInterpolation and its key
// points in ascending t.
struct DefaultCurve {
    int32_t mode;
    int32_t interpolation;
    int pointCount;
    CurvePoint points[4];
};

// What the host needs beyond the type to show a parameter. Each type reads its own members:
// sliders the ranges, default, precision and display flags; checkboxes the default and
// flags; popups the choices and default; ramps the flags and the curve. Integer and float
// slider values are held as double, which represents both exactly.
struct ParamDetail {
    double validMin;
    double validMax;
    double sliderMin;
    double sliderMax;
    double dephault;
    A_short precision;
    A_short displayFlags;
    PF_ParamFlags flags;
    const char* choices;
    A_short numChoices;
    const DefaultCurve* curve;
};

struct ParamRecord {
    ParamIndex index;
    A_long savedId;
    const char* name;
    PF_ParamType type;
    ParamDetail detail;
};

constexpr size_t kParamRecordCount = PARAM_COUNT - 1;

// Every parameter but the input layer, in ParamIndex order: kParamTable[i].index == i + 1.
extern const ParamRecord kParamTable[kParamRecordCount];
