#include "ramp/ramp_arbitrary.h"

#include <cstring>
#include <string>

#include "ramp/flat_ramp.h"
#include "ramp/ramp.h"
#include "ramp/ramp_operations.h"
#include "ramp/ramp_text.h"
#include "shell/toolkit/errors.h"
#include "shell/toolkit/locked_handle.h"
#include "shell/toolkit/owned_handle.h"
#include "shell/toolkit/suite_handler.h"

namespace {

// A handle that holds nothing fails as a lock that gave nothing does, without asking the host
// to lock it.
PF_Handle Present(PF_Handle handle) {
    if (handle == nullptr) {
        throw ReportedAsOutOfMemory(PF_Err_OUT_OF_MEMORY);
    }
    return handle;
}

PF_Handle Present(const PF_ArbitraryH* slot) {
    return Present(slot != nullptr ? *slot : nullptr);
}

// Stores through size what measure gives for the ramp in handle.
template <typename Measure>
PF_Err StoreSize(PF_InData* in_data, PF_ArbitraryH handle, A_u_long* size, Measure measure) {
    if (size == nullptr) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    SuiteHandler suites(in_data->pica_basicP);
    LockedHandle locked(&suites, Present(handle));
    *size = A_u_long(measure(*locked.As<Ramp>()));
    return PF_Err_NONE;
}

}  // namespace

PF_Err RampArbNew(PF_InData* in_data, PF_ArbitraryH* slot, float first, float second) {
    if (slot == nullptr) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    SuiteHandler suites(in_data->pica_basicP);
    // Until the slot holds the handle nobody else would give it back, so a failure disposes it.
    NewLockedHandle made(&suites, sizeof(Ramp));
    if (made.owned.Get() == nullptr) {
        // The slot stays as the host passed it: what it holds was never ours to fill.
        return PF_Err_OUT_OF_MEMORY;
    }
    Ramp* ramp = Ramp::ConstructAt(made.locked->Get());
    ramp->mode = RampMode_All;
    ramp->interpolation = RampInterpolation_Sin;
    try {
        (*ramp->points)[0.0f] = first;
        (*ramp->points)[1.0f] = second;
    } catch (...) {
        ramp->ReleasePoints();
        throw;
    }
    *slot = made.owned.Release();
    return PF_Err_NONE;
}

PF_Err RampArbDispose(PF_InData* in_data, PF_ArbitraryH handle) {
    if (handle == nullptr) {
        return PF_Err_NONE;
    }
    // The point map is reachable only through the handle's memory: without the handle suite
    // the utility callbacks serve, and a lock that gives nothing is tried once more. Should the
    // memory stay out of reach, the handle is left to the host (which drops it when DISPOSE
    // fails) and the map with it.
    SuiteHandler suites(in_data->pica_basicP);
    const HandleFunctions functions = HandleFunctionsFor(&suites, in_data);
    void* memory = nullptr;
    for (int attempt = 0; attempt < 2 && memory == nullptr; ++attempt) {
        memory = functions.lock(handle);
        if (memory == nullptr) {
            functions.unlock(handle);
        }
    }
    if (memory == nullptr) {
        return PF_Err_OUT_OF_MEMORY;
    }
    Ramp* ramp = static_cast<Ramp*>(memory);
    if (ramp->points != nullptr) {
        ramp->ReleasePoints();
    }
    functions.unlock(handle);
    functions.dispose(handle);
    return PF_Err_NONE;
}

PF_Err RampArbCopy(PF_InData* in_data, const PF_ArbitraryH* source, PF_ArbitraryH* destination) {
    if (source == nullptr || *source == nullptr || destination == nullptr ||
        *destination == nullptr) {
        return PF_Err_NONE;
    }
    SuiteHandler suites(in_data->pica_basicP);
    LockedHandle lockedSource(&suites, *source);
    LockedHandle lockedDestination(&suites, *destination);
    const Ramp* from = lockedSource.As<Ramp>();
    CopyRamp(*from, lockedDestination.As<Ramp>());
    return PF_Err_NONE;
}

PF_Err RampArbFlatSize(PF_InData* in_data, PF_ArbitraryH handle, A_u_long* size) {
    return StoreSize(in_data, handle, size, [](const Ramp& ramp) { return ramp.Flatten(nullptr); });
}

PF_Err RampArbFlatten(PF_InData* in_data, PF_ArbitraryH handle, A_u_long size, void* buffer) {
    SuiteHandler suites(in_data->pica_basicP);
    LockedHandle locked(&suites, Present(handle));
    const Ramp* ramp = locked.As<Ramp>();
    if (size != A_u_long(ramp->Flatten(nullptr))) {
        return PF_Err_INTERNAL_STRUCT_DAMAGED;
    }
    if (buffer == nullptr) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    ramp->Flatten(buffer);
    return PF_Err_NONE;
}

PF_Err RampArbUnflatten(PF_InData* in_data, A_u_long size, const void* bytes, PF_ArbitraryH* slot) {
    SuiteHandler suites(in_data->pica_basicP);
    LockedHandle locked(&suites, Present(slot));
    return ReadFlatRamp(bytes, size, locked.As<Ramp>());
}

PF_Err RampArbInterpolate(PF_InData* in_data, double fraction, const PF_ArbitraryH* left,
                          const PF_ArbitraryH* right, PF_ArbitraryH* result) {
    SuiteHandler suites(in_data->pica_basicP);
    LockedHandle lockedLeft(&suites, Present(left));
    LockedHandle lockedRight(&suites, Present(right));
    LockedHandle lockedResult(&suites, Present(result));
    const Ramp* from = lockedLeft.As<Ramp>();
    Ramp* blend = lockedResult.As<Ramp>();
    InterpolateRamps(*from, *lockedRight.As<Ramp>(), fraction, blend);
    return PF_Err_NONE;
}

PF_Err RampArbCompare(PF_InData* in_data, PF_ArbitraryH a, PF_ArbitraryH b,
                      PF_ArbCompareResult* out) {
    if (out == nullptr) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    SuiteHandler suites(in_data->pica_basicP);
    LockedHandle lockedA(&suites, Present(a));
    LockedHandle lockedB(&suites, Present(b));
    const Ramp* first = lockedA.As<Ramp>();
    const Ramp* second = lockedB.As<Ramp>();
    *out = RampsEqual(*first, *second) ? PF_ArbCompare_EQUAL : PF_ArbCompare_NOT_EQUAL;
    return PF_Err_NONE;
}

PF_Err RampArbPrintSize(PF_InData* in_data, PF_ArbitraryH handle, A_u_long* size) {
    // Room for the text and its terminating NUL.
    return StoreSize(in_data, handle, size,
                     [](const Ramp& ramp) { return RampToText(ramp).size() + 1; });
}

PF_Err RampArbPrint(PF_InData* in_data, PF_ArbitraryH handle, A_u_long size, char* buffer) {
    SuiteHandler suites(in_data->pica_basicP);
    LockedHandle locked(&suites, Present(handle));
    const std::string text = RampToText(*locked.As<Ramp>());
    if (buffer == nullptr || size != text.size() + 1) {
        return PF_Err_UNRECOGNIZED_PARAM_TYPE;
    }
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return PF_Err_NONE;
}

PF_Err RampArbScan(PF_InData* in_data, const char* text, A_u_long size, PF_ArbitraryH* slot) {
    SuiteHandler suites(in_data->pica_basicP);
    LockedHandle locked(&suites, Present(slot));
    return ReadRampText(text, size, locked.As<Ramp>());
}
