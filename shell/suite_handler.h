#pragma once

#include <array>
#include <cstddef>

#include "host_api/suites.h"

// The pairs of suite name and version that a SuiteHandler can acquire. The order is the order
// in which the cache releases them.
enum class SuiteSlot {
    HandleSuite2,
    ANSISuite1,
    ParamUtilsSuite3,
    PathQuerySuite1,
    PathDataSuite1,
    iterateFloatSuite1,
    EffectCustomUISuite1,
    DRAWBOTDrawSuite1,
    DRAWBOTSupplierSuite1,
    DRAWBOTSurfaceSuite2,
    UtilitySuite7,
    PFInterfaceSuite1,
    EffectSuite2,
    StreamSuite7,
    StreamSuite9,
    StreamSuite10,
    DynamicStreamSuite5,
    LayerMaskSuite7,
    MaskOutlineSuite5,
    MemorySuite1,
    Count
};

struct SuiteName {
    const char* name;
    A_long version;
};

// Name and version of a slot, as the host's basic suite knows them.
SuiteName SuiteNameOf(SuiteSlot slot);

// A per-call cache of host suites. Each suite is acquired on first use and released once by
// the destructor. Never shared between calls or threads.
class SuiteHandler {
public:
    explicit SuiteHandler(SPBasicSuite* basic);
    ~SuiteHandler();
    SuiteHandler(const SuiteHandler&) = delete;
    SuiteHandler& operator=(const SuiteHandler&) = delete;

    [[noreturn]] static void MissingSuiteError();

    void ReleaseAllSuites();

    const PF_HandleSuite2* HandleSuite2() { return Get<PF_HandleSuite2>(SuiteSlot::HandleSuite2); }
    const PF_ANSICallbacksSuite1* ANSISuite1() {
        return Get<PF_ANSICallbacksSuite1>(SuiteSlot::ANSISuite1);
    }
    const PF_ParamUtilsSuite3* ParamUtilsSuite3() {
        return Get<PF_ParamUtilsSuite3>(SuiteSlot::ParamUtilsSuite3);
    }
    const PF_PathQuerySuite1* PathQuerySuite1() {
        return Get<PF_PathQuerySuite1>(SuiteSlot::PathQuerySuite1);
    }
    const PF_PathDataSuite1* PathDataSuite1() {
        return Get<PF_PathDataSuite1>(SuiteSlot::PathDataSuite1);
    }
    const PF_iterateFloatSuite1* iterateFloatSuite1() {
        return Get<PF_iterateFloatSuite1>(SuiteSlot::iterateFloatSuite1);
    }
    const AEGP_UtilitySuite7* UtilitySuite7() {
        return Get<AEGP_UtilitySuite7>(SuiteSlot::UtilitySuite7);
    }

    // The untyped acquisition behind every accessor.
    const void* Acquire(SuiteSlot slot);

    SPBasicSuite* basic;

private:
    template <typename T>
    const T* Get(SuiteSlot slot) {
        return static_cast<const T*>(Acquire(slot));
    }

    std::array<const void*, static_cast<size_t>(SuiteSlot::Count)> suites_{};
};
