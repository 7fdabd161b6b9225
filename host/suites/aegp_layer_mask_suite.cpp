#include "host/host.h"
#include "host/suite_registry.h"
#include "host/suites/aegp_calls.h"

namespace quorvel::host {

namespace {

bool IsTheLayer(AEGP_LayerH layer) {
    return layer != nullptr && layer == TheAegpObjects().Layer();
}

A_Err GetLayerNumMasks(AEGP_LayerH layer, A_long* count) {
    if (count == nullptr || !IsTheLayer(layer)) {
        return RefuseMisuse("AEGP_GetLayerNumMasks of an unknown layer or without a place");
    }
    *count = 0;
    if (const auto fault = FaultAnswer("AEGP_GetLayerNumMasks")) {
        return *fault;
    }
    *count = Host::Current().State<LayerMasks>().Count();
    return PF_Err_NONE;
}

A_Err GetLayerMaskByIndex(AEGP_LayerH layer, AEGP_MaskIndex index, AEGP_MaskRefH* mask) {
    if (mask == nullptr || !IsTheLayer(layer)) {
        return RefuseMisuse("AEGP_GetLayerMaskByIndex of an unknown layer or without a place");
    }
    *mask = nullptr;
    if (const auto fault = FaultAnswer("AEGP_GetLayerMaskByIndex")) {
        return *fault;
    }
    LayerMask found;
    if (!Host::Current().State<LayerMasks>().At(index, &found)) {
        return PF_Err_INVALID_INDEX;
    }
    AegpObject object;
    object.kind = AegpObject::Kind::Mask;
    object.maskIndex = index;
    return HandOutAegp(std::move(object), mask);
}

// A dispose that fails still takes the handle back: the fault is in the answer only.
A_Err DisposeMask(AEGP_MaskRefH mask) {
    const auto fault = FaultAnswer("AEGP_DisposeMask");
    if (!TheAegpObjects().Dispose(mask, AegpObject::Kind::Mask)) {
        return RefuseMisuse("AEGP_DisposeMask of a mask handle that is not alive");
    }
    return fault ? *fault : PF_Err_NONE;
}

A_Err GetMaskColor(AEGP_MaskRefH maskRef, AEGP_ColorVal* colour) {
    const AegpObject* mask = TheAegpObjects().Find(maskRef, AegpObject::Kind::Mask);
    if (mask == nullptr || colour == nullptr) {
        return RefuseMisuse("AEGP_GetMaskColor of a mask handle that is not alive");
    }
    if (const auto fault = FaultAnswer("AEGP_GetMaskColor")) {
        return *fault;
    }
    LayerMask found;
    if (!Host::Current().State<LayerMasks>().At(mask->maskIndex, &found)) {
        return PF_Err_INVALID_INDEX;
    }
    *colour = found.colour;
    return PF_Err_NONE;
}

const AEGP_LayerMaskSuite7 kLayerMaskSuite = {&GetLayerNumMasks, &GetLayerMaskByIndex, &DisposeMask,
                                              &GetMaskColor};

}  // namespace

extern const SuiteDefinition kAEGPLayerMaskSuite7 = {kAEGPLayerMaskSuite,
                                                     kAEGPLayerMaskSuiteVersion7, &kLayerMaskSuite};

}  // namespace quorvel::host
