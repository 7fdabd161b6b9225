#pragma once

#include <string>
#include <vector>

#include "host/bezier_segment.h"
#include "host_api/effect.h"

namespace quorvel::host {

// A vertex of a mask path; the tangents are offsets from the vertex, as the host's mask
// editor shows them.
struct MaskVertex {
    PathPoint position;
    PathPoint inTangent;
    PathPoint outTangent;
};

// The outline of a mask at one time: cubic Bezier segments from each vertex to the next, and
// from the last back to the first when the path is closed.
struct MaskShape {
    int SegmentCount() const;
    // Segment i runs from vertex i (leaving along its out tangent) to the next vertex
    // (arriving along its in tangent).
    BezierSegment Segment(int index) const;

    std::vector<MaskVertex> vertices;
    bool closed = true;
};

struct MaskKeyframe {
    double seconds;
    MaskShape shape;
};

// One mask of the layer: its id (what a path parameter holds), its name, and its shape,
// optionally keyframed.
struct MaskPath {
    // The shape at a time: held before the first and after the last keyframe; between two
    // keyframes with the same number of vertices every vertex and tangent moves linearly,
    // otherwise the earlier shape holds until the later keyframe.
    MaskShape ShapeAt(double seconds) const;

    PF_PathID id = 0;
    std::string name;
    std::vector<MaskKeyframe> keyframes;  // ascending in time
};

}  // namespace quorvel::host
