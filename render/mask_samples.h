#pragma once

#include <vector>

#include "host_api/suites.h"
#include "render/mask_base_points.h"
#include "shell/toolkit/suite_handler.h"

struct Ramp;

// One segment of a mask path: its length as the host measures it and the sum of the lengths
// before it.
struct MaskSegment {
    double length;
    double start;
};

// The working record of one mask during one mesh build. A record with a path owns a host
// check-out and gives it back exactly once, when it is destroyed.
struct MaskSamples {
    MaskSamples() = default;
    ~MaskSamples();
    MaskSamples(const MaskSamples&) = delete;
    MaskSamples& operator=(const MaskSamples&) = delete;

    // Checks the path of pathId out at the frame's time and measures its segments. False when
    // the id names no path or the path has no segments: the frame then has no mesh. A failing
    // path call raises ThrowIfPathError's failure.
    bool Measure(PF_InData* frameInData, SuiteHandler* frameSuites, PF_PathID id);

    // The table of basePoints points placed along the path by the density ramp, keys
    // j / (basePoints - 1); inverted keys (1 - k) when invert is set. Needs a measured path.
    MaskBasePoints Sample(int basePoints, const Ramp& density, bool invert);

    PF_InData* inData = nullptr;
    SuiteHandler* suites = nullptr;
    PF_PathID pathId = 0;
    PF_PathOutlinePtr path = nullptr;
    PF_Boolean isOpen = 0;
    double totalLength = 0.0;
    std::vector<MaskSegment> segments;
};
