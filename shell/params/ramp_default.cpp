#include "shell/params/ramp_default.h"

#include <utility>

#include "shell/toolkit/errors.h"

RampDefaultHandle::RampDefaultHandle(SuiteHandler* suites, const DefaultCurve& curve) {
    NewLockedHandle made(suites, sizeof(Ramp));
    if (made.Failure(PF_Err_OUT_OF_MEMORY, PF_Err_OUT_OF_MEMORY) != PF_Err_NONE) {
        throw ReportedAsOutOfMemory(PF_Err_OUT_OF_MEMORY);
    }
    Ramp* ramp = Ramp::ConstructAt(made.Memory());
    ramp->mode = curve.mode;
    ramp->interpolation = curve.interpolation;
    try {
        for (int i = 0; i < curve.pointCount; ++i) {
            (*ramp->points)[curve.points[i].t] = curve.points[i].v;
        }
    } catch (...) {
        ramp->ReleasePoints();
        throw;
    }
    // The host is handed the handle unlocked.
    made.locked.reset();
    handle_ = std::move(made.owned);
}

RampDefaultHandle::~RampDefaultHandle() {
    // Read through the master pointer, so that freeing needs no lock that could fail.
    const PF_Handle handle = handle_.Get();
    if (handle != nullptr && *handle != nullptr) {
        static_cast<Ramp*>(*handle)->ReleasePoints();
    }
}
