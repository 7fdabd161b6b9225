#include "shell/ramp_default.h"

#include <new>

#include "shell/locked_handle.h"

RampDefaultHandle::RampDefaultHandle(SuiteHandler* suites, const DefaultCurve& curve)
    : suites_(suites) {
    handle_ = suites_->HandleSuite2()->host_new_handle(sizeof(Ramp));
    if (handle_ == nullptr) {
        throw PF_Err_OUT_OF_MEMORY;
    }
    try {
        Build(curve);
    } catch (...) {
        Free();
        throw;
    }
}

RampDefaultHandle::~RampDefaultHandle() {
    if (!released_) {
        Free();
    }
}

void RampDefaultHandle::Build(const DefaultCurve& curve) {
    LockedHandle locked(suites_, handle_);
    Ramp* ramp = new (locked.Get()) Ramp();
    points_ = ramp->points;
    ramp->mode = curve.mode;
    ramp->interpolation = curve.interpolation;
    for (int i = 0; i < curve.pointCount; ++i) {
        (*ramp->points)[curve.points[i].t] = curve.points[i].v;
    }
}

void RampDefaultHandle::Free() {
    // The map's address is kept aside, so freeing needs no lock that could fail.
    delete points_;
    points_ = nullptr;
    suites_->HandleSuite2()->host_dispose_handle(handle_);
    handle_ = nullptr;
}
