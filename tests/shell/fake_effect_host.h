#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "host_api/suites.h"

// A small in-process stand-in for the host's callbacks, enough to drive the parameter set-up,
// the parameter UI update and the settings snapshot without loading the module: it records
// what the module hands over and can make chosen calls fail.
class FakeEffectHost {
  public:
    FakeEffectHost();
    ~FakeEffectHost();
    FakeEffectHost(const FakeEffectHost&) = delete;
    FakeEffectHost& operator=(const FakeEffectHost&) = delete;

    PF_InData in_data{};
    PF_OutData out_data{};

    // add_param and register_ui.
    std::vector<PF_ParamDef> added;
    std::vector<std::string> addedNames;
    std::vector<PF_CustomUIInfo> registered;
    int addParamCalls = 0;
    A_long numParamsAtFirstAdd = -1;
    int failAddParamAt = -1;  // 0-based call number
    PF_Err addParamError = PF_Err_INTERNAL_STRUCT_DAMAGED;
    PF_Err registerUiError = PF_Err_NONE;

    // Handles.
    int newHandleNullAt = -1;  // 0-based call number
    bool lockGivesNull = false;
    int newHandles = 0;
    int lockCount = 0;
    int unlockCount = 0;
    size_t LiveHandles() const { return handles_.size(); }
    void DisposeRampDefaults();  // frees the defaults the module handed over

    // Suites.
    std::vector<std::string> unavailableSuites;
    std::map<std::string, int> acquired;  // name -> acquisitions not yet released
    int Unreleased() const;

    // PF_UpdateParamUI.
    std::vector<std::pair<A_long, PF_ParamDef>> updates;
    int failUpdateAt = -1;
    PF_Err updateError = PF_Err_INTERNAL_STRUCT_DAMAGED;

    // checkout_param and checkin_param: values come from `values` (by index).
    std::map<A_long, PF_ParamDef> values;
    std::vector<A_long> checkouts;
    std::vector<PF_ParamDef> checkins;
    int failCheckoutAt = -1;
    PF_Err checkoutError = PF_Err_OUT_OF_MEMORY;
    int failCheckinAt = -1;
    PF_Err checkinError = PF_Err_INTERNAL_STRUCT_DAMAGED;

    static FakeEffectHost* current;

  private:
    struct Block {
        void* master;
        std::vector<unsigned char> bytes;
    };
    std::map<PF_Handle, std::unique_ptr<Block>> handles_;
    PF_UtilCallbacks utils_{};
    SPBasicSuite basic_{};
    PF_HandleSuite2 handleSuite_{};
    PF_ParamUtilsSuite3 paramUtilsSuite_{};

    static PF_Err AddParam(PF_ProgPtr, PF_ParamIndex, PF_ParamDefPtr def);
    static PF_Err RegisterUi(PF_ProgPtr, PF_CustomUIInfo* info);
    static PF_Err Checkout(PF_ProgPtr, PF_ParamIndex, A_long, A_long, A_u_long, PF_ParamDef*);
    static PF_Err Checkin(PF_ProgPtr, PF_ParamDef*);
    static PF_Handle NewHandle(uint64_t size);
    static void* Lock(PF_Handle);
    static void Unlock(PF_Handle);
    static void Dispose(PF_Handle);
    static SPErr Acquire(const char* name, A_long version, const void** suite);
    static SPErr Release(const char* name, A_long version);
    static PF_Err UpdateParamUI(PF_ProgPtr, PF_ParamIndex, const PF_ParamDef*);
};
