#pragma once

#include <cstddef>

#include "host_api/effect.h"

// The sequence data holds no settings: a one-byte record while the instance lives and a
// 16-byte record when the host saves it. Nothing reads either back.
struct SequenceData {
    A_u_char flattened;  // 0 while live
};
static_assert(sizeof(SequenceData) == 1, "the live record is one byte");

struct FlatSequenceData {
    A_u_char flattened;  // 1
    A_char tag[4];       // "TEMP"
    A_u_char zero[3];
    A_u_long fixedValue;  // 8
    A_u_long version;     // EFFECT_VERSION
};
static_assert(sizeof(FlatSequenceData) == 16, "the flat record is 16 bytes");
static_assert(offsetof(FlatSequenceData, tag) == 1, "tag at byte 1");
static_assert(offsetof(FlatSequenceData, fixedValue) == 8, "fixed value at byte 8");
static_assert(offsetof(FlatSequenceData, version) == 12, "version at byte 12");

// The handlers of PF_Cmd_SEQUENCE_SETUP, _RESETUP, _FLATTEN, _SETDOWN and
// PF_Cmd_GET_FLATTENED_SEQUENCE_DATA.
PF_Err SequenceSetup(PF_InData* in_data, PF_OutData* out_data);
PF_Err SequenceResetup(PF_InData* in_data, PF_OutData* out_data);
PF_Err SequenceFlatten(PF_InData* in_data, PF_OutData* out_data);
PF_Err SequenceSetdown(PF_InData* in_data, PF_OutData* out_data);
PF_Err GetFlattenedSequenceData(PF_InData* in_data, PF_OutData* out_data);
