#include "host/layer_masks.h"

namespace quorvel::host {

int LayerMask::SegmentCount() const {
    const int count = static_cast<int>(vertices.size());
    if (count == 0) {
        return 0;
    }
    return closed ? count : count - 1;
}

void LayerMasks::Set(std::vector<LayerMask> masks) {
    std::lock_guard<std::mutex> lock(mutex_);
    masks_ = std::move(masks);
}

std::vector<LayerMask> LayerMasks::Get() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return masks_;
}

int LayerMasks::Count() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return static_cast<int>(masks_.size());
}

bool LayerMasks::At(int index, LayerMask* mask) const {
    std::lock_guard<std::mutex> lock(mutex_);
    if (index < 0 || index >= static_cast<int>(masks_.size())) {
        return false;
    }
    *mask = masks_[static_cast<size_t>(index)];
    return true;
}

AEGP_MaskVertex MaskVertexAt(double x, double y, double inX, double inY, double outX, double outY) {
    return AEGP_MaskVertex{x, y, inX, inY, outX, outY};
}

}  // namespace quorvel::host
