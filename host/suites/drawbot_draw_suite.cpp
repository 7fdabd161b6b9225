#include "host/suite_registry.h"
#include "host/suites/drawbot_calls.h"

namespace quorvel::host {

namespace {

SPErr GetSupplier(DRAWBOT_DrawRef drawRef, DRAWBOT_SupplierRef* supplier) {
    if (const auto fault = FaultAnswer("GetSupplier")) {
        if (supplier != nullptr) {
            *supplier = nullptr;
        }
        return *fault;
    }
    DrawbotCanvas* canvas = DrawbotCanvas::FromDraw(drawRef);
    if (canvas == nullptr || supplier == nullptr) {
        return RefuseMisuse("GetSupplier of an unknown drawing reference or without a place");
    }
    *supplier = canvas->SupplierRef();
    return kSPNoError;
}

SPErr GetSurface(DRAWBOT_DrawRef drawRef, DRAWBOT_SurfaceRef* surface) {
    if (const auto fault = FaultAnswer("GetSurface")) {
        if (surface != nullptr) {
            *surface = nullptr;
        }
        return *fault;
    }
    DrawbotCanvas* canvas = DrawbotCanvas::FromDraw(drawRef);
    if (canvas == nullptr || surface == nullptr) {
        return RefuseMisuse("GetSurface of an unknown drawing reference or without a place");
    }
    *surface = canvas->SurfaceRef();
    return kSPNoError;
}

const DRAWBOT_DrawbotSuite1 kDrawSuite = {&GetSupplier, &GetSurface};

}  // namespace

extern const SuiteDefinition kDrawbotDrawSuite1 = {kDRAWBOT_DrawSuite, kDRAWBOT_DrawSuite_Version1,
                                                   &kDrawSuite};

}  // namespace quorvel::host
