#include "shell/params/ramp_default.h"

#include "shell/toolkit/errors.h"
#include "shell/toolkit/locked_handle.h"

RampDefaultHandle::RampDefaultHandle(SuiteHandler* suites, const DefaultCurve& curve)
    : suites_(suites) {
    handle_ = suites_->HandleSuite2()->host_new_handle(sizeof(Ramp));
    if (handle_ == nullptr) {
        throw ReportedAsOutOfMemory(PF_Err_OUT_OF_MEMORY);
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
    Ramp* ramp = Ramp::ConstructAt(locked.Get());
    built_ = true;
    ramp->mode = curve.mode;
    ramp->interpolation = curve.interpolation;
    for (int i = 0; i < curve.pointCount; ++i) {
        (*ramp->points)[curve.points[i].t] = curve.points[i].v;
    }
}

void RampDefaultHandle::Free() {
    // Read through the master pointer, so that freeing needs no lock that could fail.
    if (built_ && *handle_ != nullptr) {
        static_cast<Ramp*>(*handle_)->ReleasePoints();
    }
    built_ = false;
    suites_->HandleSuite2()->host_dispose_handle(handle_);
    handle_ = nullptr;
}
