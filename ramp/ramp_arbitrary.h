#pragma once

#include <cstdint>

#include "host_api/effect.h"

// The refcon of every ramp parameter: 'RAMP' as a 32-bit multi-character constant shifted left
// by 24 bits. The host hands it back in every arbitrary-data request for those parameters.
constexpr uintptr_t RAMP_ARB_REFCON = uintptr_t(0x0052414D50000000ULL);

// True when the request is one of the eleven arbitrary-data selectors for a ramp parameter.
bool IsRampArbitraryCallback(const PF_ArbParamsExtra* extra);

// Answers one arbitrary-data request for a ramp value; a selector above the known ones does
// nothing. Lock and suite failures are thrown as EffectMain expects them.
PF_Err HandleRampArbitraryCallback(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
                                   PF_LayerDef* output, PF_ArbParamsExtra* extra);

// The callbacks, each on the Ramp in a host handle that it keeps locked while it works. A
// handle made by NEW is stored in its slot at once and stays there whatever follows: it is the
// host's to dispose. Without a handle from the host NEW fails with PF_Err_OUT_OF_MEMORY and
// leaves the slot as it was.
PF_Err RampArbNew(PF_InData* in_data, PF_ArbitraryH* slot, float first, float second);
PF_Err RampArbDispose(PF_InData* in_data, PF_ArbitraryH handle);
PF_Err RampArbCopy(PF_InData* in_data, const PF_ArbitraryH* source, PF_ArbitraryH* destination);
PF_Err RampArbFlatSize(PF_InData* in_data, PF_ArbitraryH handle, A_u_long* size);
PF_Err RampArbFlatten(PF_InData* in_data, PF_ArbitraryH handle, A_u_long size, void* buffer);
PF_Err RampArbUnflatten(PF_InData* in_data, A_u_long size, const void* bytes, PF_ArbitraryH* slot);
PF_Err RampArbInterpolate(PF_InData* in_data, double fraction, const PF_ArbitraryH* left,
                          const PF_ArbitraryH* right, PF_ArbitraryH* result);
PF_Err RampArbCompare(PF_InData* in_data, PF_ArbitraryH a, PF_ArbitraryH b,
                      PF_ArbCompareResult* out);
PF_Err RampArbPrintSize(PF_InData* in_data, PF_ArbitraryH handle, A_u_long* size);
PF_Err RampArbPrint(PF_InData* in_data, PF_ArbitraryH handle, A_u_long size, char* buffer);
PF_Err RampArbScan(PF_InData* in_data, const char* text, A_u_long size, PF_ArbitraryH* slot);
