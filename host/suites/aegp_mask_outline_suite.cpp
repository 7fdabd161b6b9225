#include "host/suite_registry.h"
#include "host/suites/aegp_calls.h"

namespace quorvel::host {

namespace {

const LayerMask* Outline(AEGP_MaskOutlineValH outline) {
    const AegpObject* value = TheAegpObjects().FindOutline(outline);
    return value != nullptr ? &value->outline : nullptr;
}

A_Err IsMaskOutlineOpen(AEGP_MaskOutlineValH outlineRef, A_Boolean* open) {
    const LayerMask* outline = Outline(outlineRef);
    if (outline == nullptr || open == nullptr) {
        return RefuseMisuse("AEGP_IsMaskOutlineOpen of an outline that is not alive");
    }
    if (const auto fault = FaultAnswer("AEGP_IsMaskOutlineOpen")) {
        return *fault;
    }
    *open = outline->closed ? 0 : 1;
    return PF_Err_NONE;
}

A_Err GetMaskOutlineNumSegments(AEGP_MaskOutlineValH outlineRef, A_long* count) {
    const LayerMask* outline = Outline(outlineRef);
    if (outline == nullptr || count == nullptr) {
        return RefuseMisuse("AEGP_GetMaskOutlineNumSegments of an outline that is not alive");
    }
    if (const auto fault = FaultAnswer("AEGP_GetMaskOutlineNumSegments")) {
        return *fault;
    }
    *count = outline->SegmentCount();
    return PF_Err_NONE;
}

A_Err GetMaskOutlineVertexInfo(AEGP_MaskOutlineValH outlineRef, AEGP_VertexIndex index,
                               AEGP_MaskVertex* vertex) {
    const LayerMask* outline = Outline(outlineRef);
    if (outline == nullptr || vertex == nullptr) {
        return RefuseMisuse("AEGP_GetMaskOutlineVertexInfo of an outline that is not alive");
    }
    if (const auto fault = FaultAnswer("AEGP_GetMaskOutlineVertexInfo")) {
        return *fault;
    }
    if (index < 0 || index >= static_cast<A_long>(outline->vertices.size())) {
        return PF_Err_INVALID_INDEX;
    }
    *vertex = outline->vertices[static_cast<size_t>(index)];
    return PF_Err_NONE;
}

const AEGP_MaskOutlineSuite5 kMaskOutlineSuite = {&IsMaskOutlineOpen, &GetMaskOutlineNumSegments,
                                                  &GetMaskOutlineVertexInfo};

}  // namespace

extern const SuiteDefinition kAEGPMaskOutlineSuite5 = {
    kAEGPMaskOutlineSuite, kAEGPMaskOutlineSuiteVersion5, &kMaskOutlineSuite};

}  // namespace quorvel::host
