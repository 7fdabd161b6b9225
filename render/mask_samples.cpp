#include "render/mask_samples.h"

#include "ramp/ramp.h"
#include "render/checked_index.h"
#include "render/path_preparation.h"

namespace {

// Measuring asks for a coarse length table; only the total length of each segment is read.
constexpr A_long kMeasureFrequency = 100;

}  // namespace

MaskSamples::~MaskSamples() {
    segments.clear();
    if (path == nullptr || suites == nullptr) {
        return;
    }
    try {
        // Given back exactly once; the host's answer is not looked at.
        suites->PathQuerySuite1()->PF_CheckinPath(inData->effect_ref, pathId, 0, path);
    } catch (...) {
        // The suite was cached at check-out; nothing can be raised from here.
    }
    path = nullptr;
}

bool MaskSamples::Measure(PF_InData* frameInData, SuiteHandler* frameSuites, PF_PathID id) {
    inData = frameInData;
    suites = frameSuites;
    pathId = id;
    PF_PathOutlinePtr checkedOut = nullptr;
    ThrowIfPathError(suites->PathQuerySuite1()->PF_CheckoutPath(
        inData->effect_ref, pathId, inData->current_time, inData->time_step, inData->time_scale,
        &checkedOut));
    path = checkedOut;
    if (path == nullptr) {
        return false;
    }
    const PF_PathDataSuite1* data = suites->PathDataSuite1();
    A_long count = 0;
    ThrowIfPathError(data->PF_PathNumSegments(inData->effect_ref, path, &count));
    if (count <= 0) {
        return false;
    }
    segments.assign(static_cast<size_t>(count), MaskSegment{0.0, 0.0});
    PathPreparation preparation(data, inData->effect_ref, path);
    for (A_long s = 0; s < count; ++s) {
        MaskSegment& segment = segments[static_cast<size_t>(s)];
        preparation.Prepare(s, kMeasureFrequency);
        ThrowIfPathError(data->PF_PathGetSegLength(inData->effect_ref, path, s,
                                                   preparation.Handle(), &segment.length));
        segment.start = totalLength;
        totalLength += segment.length;
        preparation.Cleanup();
    }
    return true;
}

MaskBasePoints MaskSamples::Sample(int basePoints, const Ramp& density, bool invert) {
    const PF_PathDataSuite1* data = suites->PathDataSuite1();
    ThrowIfPathError(data->PF_PathIsOpen(inData->effect_ref, path, &isOpen));
    const std::vector<float> positions = density.DistributePositions(basePoints);

    MaskBasePoints table;
    table.reserve(static_cast<size_t>(basePoints > 0 ? basePoints : 0));
    const size_t segmentCount = segments.size();
    const double last = static_cast<double>(basePoints - 1);
    size_t cursor = 0;
    PathPreparation preparation(data, inData->effect_ref, path);
    for (int j = 0; j < basePoints; ++j) {
        MaskPoint& point = table[static_cast<double>(j) / last];
        const double length =
            static_cast<double>(CheckedAt(positions, static_cast<size_t>(j))) * totalLength;
        // The cursor only moves forward: the density positions never decrease. A length
        // exactly at a boundary stays on the earlier segment.
        while (cursor + 1 < segmentCount && length > segments[cursor + 1].start) {
            preparation.Cleanup();
            ++cursor;
        }
        if (!preparation.Live()) {
            preparation.Prepare(static_cast<A_long>(cursor), basePoints);
        }
        ThrowIfPathError(data->PF_PathEvalSegLength(
            inData->effect_ref, path, preparation.Handle(), static_cast<A_long>(cursor),
            length - segments[cursor].start, &point.x, &point.y));
    }
    preparation.Cleanup();
    return invert ? table.Inverted() : table;
}
