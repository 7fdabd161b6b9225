#include "shell/sequence_data.h"

#include <cstring>

#include "resources/effect_identity.h"
#include "shell/toolkit/owned_handle.h"
#include "shell/toolkit/suite_handler.h"

namespace {

bool HoldsMemory(PF_Handle handle) {
    return handle != nullptr && *handle != nullptr;
}

// Makes the live one-byte record and hands it to out_data. Without it the instance would
// have no sequence data and its next flatten would fail, so a handle that cannot be made or
// locked is out of memory (and one that was made is disposed again).
PF_Err NewLiveRecord(PF_InData* in_data, PF_OutData* out_data) {
    SuiteHandler suites(in_data->pica_basicP);
    NewLockedHandle record(&suites, sizeof(SequenceData));
    const PF_Err err = record.Failure(PF_Err_OUT_OF_MEMORY, PF_Err_OUT_OF_MEMORY);
    if (err != PF_Err_NONE) {
        return err;
    }
    static_cast<SequenceData*>(record.Memory())->flattened = 0;
    out_data->sequence_data = record.owned.Release();
    return PF_Err_NONE;
}

// Makes the 16-byte flat record and hands it to out_data; disposes the live record of
// in_data when asked to.
PF_Err NewFlatRecord(PF_InData* in_data, PF_OutData* out_data, bool disposeLive) {
    if (in_data->sequence_data == nullptr) {
        return PF_Err_INTERNAL_STRUCT_DAMAGED;
    }
    if (!HoldsMemory(in_data->sequence_data)) {
        return PF_Err_NONE;
    }
    SuiteHandler suites(in_data->pica_basicP);
    // A lock that gives nothing is reported, not passed over: the host would otherwise save
    // the project without the record. The live record stays with the instance.
    NewLockedHandle record(&suites, sizeof(FlatSequenceData));
    const PF_Err err = record.Failure(PF_Err_INTERNAL_STRUCT_DAMAGED, PF_Err_OUT_OF_MEMORY);
    if (err != PF_Err_NONE) {
        return err;
    }
    FlatSequenceData flat;
    std::memset(&flat, 0, sizeof(flat));
    flat.flattened = 1;
    std::memcpy(flat.tag, "TEMP", sizeof(flat.tag));
    flat.fixedValue = 8;
    flat.version = EFFECT_VERSION;
    std::memcpy(record.Memory(), &flat, sizeof(flat));
    if (disposeLive) {
        suites.HandleSuite2()->host_dispose_handle(in_data->sequence_data);
    }
    out_data->sequence_data = record.owned.Release();
    return PF_Err_NONE;
}

}  // namespace

PF_Err SequenceSetup(PF_InData* in_data, PF_OutData* out_data) {
    return NewLiveRecord(in_data, out_data);
}

PF_Err SequenceResetup(PF_InData* in_data, PF_OutData* out_data) {
    // The incoming flat record is left to the host.
    if (!HoldsMemory(in_data->sequence_data)) {
        return PF_Err_NONE;
    }
    return NewLiveRecord(in_data, out_data);
}

PF_Err SequenceFlatten(PF_InData* in_data, PF_OutData* out_data) {
    return NewFlatRecord(in_data, out_data, true);
}

PF_Err GetFlattenedSequenceData(PF_InData* in_data, PF_OutData* out_data) {
    return NewFlatRecord(in_data, out_data, false);
}

PF_Err SequenceSetdown(PF_InData* in_data, PF_OutData*) {
    if (in_data->sequence_data != nullptr) {
        SuiteHandler suites(in_data->pica_basicP);
        HandleFunctionsFor(&suites, in_data).dispose(in_data->sequence_data);
    }
    return PF_Err_NONE;
}
