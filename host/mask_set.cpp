#include "host/mask_set.h"

namespace quorvel::host {

PF_PathID MaskSet::Add(MaskPath mask) {
    mask.id = static_cast<PF_PathID>(masks.size() + 1);
    masks.push_back(std::move(mask));
    return masks.back().id;
}

const MaskPath* MaskSet::Find(PF_PathID id) const {
    for (const MaskPath& mask : masks) {
        if (id != 0 && mask.id == id) {
            return &mask;
        }
    }
    return nullptr;
}

PF_PathID MaskSet::IdOf(const std::string& name) const {
    for (const MaskPath& mask : masks) {
        if (mask.name == name) {
            return mask.id;
        }
    }
    return 0;
}

}  // namespace quorvel::host
