#include "ui/drawbot_refs.h"

DRAWBOT_PenP::DRAWBOT_PenP(const DRAWBOT_SupplierSuite1* suite, DRAWBOT_SupplierRef supplier,
                           const DRAWBOT_ColorRGBA* colour, float size)
    : SharedRefImpl(suite) {
    DRAWBOT_PenRef newRef = nullptr;
    const SPErr err = suite->NewPen(supplier, colour, size, &newRef);
    ThrowIfNotMade<DRAWBOT_Exception>(err, &newRef);
    Take(newRef);
}

DRAWBOT_PathP::DRAWBOT_PathP(const DRAWBOT_SupplierSuite1* suite, DRAWBOT_SupplierRef supplier)
    : SharedRefImpl(suite) {
    DRAWBOT_PathRef newRef = nullptr;
    const SPErr err = suite->NewPath(supplier, &newRef);
    ThrowIfNotMade<DRAWBOT_Exception>(err, &newRef);
    Take(newRef);
}
