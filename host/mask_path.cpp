#include "host/mask_path.h"

#include <algorithm>

namespace quorvel::host {

namespace {

PathPoint Mix(PathPoint a, PathPoint b, double f) {
    return {a.x + (b.x - a.x) * f, a.y + (b.y - a.y) * f};
}

PathPoint Add(PathPoint a, PathPoint b) {
    return {a.x + b.x, a.y + b.y};
}

}  // namespace

int MaskShape::SegmentCount() const {
    const int count = static_cast<int>(vertices.size());
    if (count == 0) {
        return 0;
    }
    return closed ? count : count - 1;
}

BezierSegment MaskShape::Segment(int index) const {
    const MaskVertex& from = vertices[static_cast<size_t>(index)];
    const MaskVertex& to = vertices[static_cast<size_t>(index + 1) % vertices.size()];
    return BezierSegment{{from.position, Add(from.position, from.outTangent),
                          Add(to.position, to.inTangent), to.position}};
}

MaskShape MaskPath::ShapeAt(double seconds) const {
    if (keyframes.empty()) {
        return MaskShape{};
    }
    const auto later =
        std::upper_bound(keyframes.begin(), keyframes.end(), seconds,
                         [](double time, const MaskKeyframe& key) { return time < key.seconds; });
    if (later == keyframes.begin()) {
        return keyframes.front().shape;
    }
    if (later == keyframes.end()) {
        return keyframes.back().shape;
    }
    const MaskKeyframe& before = *(later - 1);
    const MaskKeyframe& after = *later;
    if (before.shape.vertices.size() != after.shape.vertices.size()) {
        return before.shape;
    }
    const double f = (seconds - before.seconds) / (after.seconds - before.seconds);
    MaskShape shape = before.shape;
    for (size_t i = 0; i < shape.vertices.size(); ++i) {
        const MaskVertex& a = before.shape.vertices[i];
        const MaskVertex& b = after.shape.vertices[i];
        shape.vertices[i] = {Mix(a.position, b.position, f), Mix(a.inTangent, b.inTangent, f),
                             Mix(a.outTangent, b.outTangent, f)};
    }
    return shape;
}

}  // namespace quorvel::host
