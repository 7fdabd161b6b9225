#include "ui/drawbot_refs.h"

namespace {

// A creation that reports success but hands out no object has failed all the same: the
// object that the drawing needs does not exist.
void ThrowIfNotMade(SPErr err, const void* newRef) {
    if (err != kSPNoError) {
        throw DRAWBOT_Exception(err);
    }
    if (newRef == nullptr) {
        throw DRAWBOT_Exception(PF_Err_OUT_OF_MEMORY);
    }
}

}  // namespace

DRAWBOT_PenP::DRAWBOT_PenP(const DRAWBOT_SupplierSuite1* suite, DRAWBOT_SupplierRef supplier,
                           const DRAWBOT_ColorRGBA* colour, float size)
    : SharedRefImpl(suite) {
    DRAWBOT_PenRef newRef = nullptr;
    const SPErr err = suite->NewPen(supplier, colour, size, &newRef);
    ThrowIfNotMade(err, newRef);
    Take(newRef);
}

DRAWBOT_PathP::DRAWBOT_PathP(const DRAWBOT_SupplierSuite1* suite, DRAWBOT_SupplierRef supplier)
    : SharedRefImpl(suite) {
    DRAWBOT_PathRef newRef = nullptr;
    const SPErr err = suite->NewPath(supplier, &newRef);
    ThrowIfNotMade(err, newRef);
    Take(newRef);
}
