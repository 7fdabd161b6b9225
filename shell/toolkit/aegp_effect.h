#pragma once

#include "host_api/aegp.h"
#include "host_api/effect.h"
#include "shell/toolkit/suite_handler.h"

class AegpLayer;

// The effect instance as the host's AEGP interface sees it, for one host call: the plug-in
// id from the global data, the host's handle of the instance and the suite cache that every
// wrapper made from it uses. Outlives every wrapper made from it.
class AegpEffect {
  public:
    // Raises Exception(PF_Err_INTERNAL_STRUCT_DAMAGED, ...) without global data, a failing
    // AEGP_GetNewEffectForEffect as Exception with its code (PF_Err_OUT_OF_MEMORY when it hands
    // out no handle), and SuiteHandler::MissingSuiteError for a suite that cannot be acquired,
    // the one that disposes the handle included.
    explicit AegpEffect(PF_InData* in_data);
    // Disposes the instance's handle; every failure is dropped.
    ~AegpEffect();
    AegpEffect(const AegpEffect&) = delete;
    AegpEffect& operator=(const AegpEffect&) = delete;

    // The layer the effect is applied to (borrowed).
    AegpLayer Layer();

    A_u_long pluginId;
    PF_ProgPtr effectRef;
    SuiteHandler suites;
    AEGP_EffectRefH effectH;
};

// Raises a failed AEGP call's code as Exception, without a message.
void ThrowIfAegpFailed(A_Err err);
// A call that reported success but handed out no handle has failed all the same: raises
// Exception(PF_Err_OUT_OF_MEMORY) for a null handle.
void ThrowIfAegpMadeNothing(const void* handle);
