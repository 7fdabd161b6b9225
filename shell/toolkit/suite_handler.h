#pragma once

#include <array>
#include <cstddef>

#include "host_api/drawbot.h"
#include "host_api/suites.h"

// The AEGP suites of the layer and mask wrappers; their tables are declared with those
// wrappers, so the accessors below hand out pointers to these incomplete types until then.
struct AEGP_PFInterfaceSuite1;
struct AEGP_EffectSuite2;
struct AEGP_StreamSuite7;
struct AEGP_StreamSuite9;
struct AEGP_StreamSuite10;
struct AEGP_DynamicStreamSuite5;
struct AEGP_LayerMaskSuite7;
struct AEGP_MaskOutlineSuite5;
struct AEGP_MemorySuite1;

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
    const PF_EffectCustomUISuite1* EffectCustomUISuite1() {
        return Get<PF_EffectCustomUISuite1>(SuiteSlot::EffectCustomUISuite1);
    }
    const DRAWBOT_DrawbotSuite1* DRAWBOTDrawSuite1() {
        return Get<DRAWBOT_DrawbotSuite1>(SuiteSlot::DRAWBOTDrawSuite1);
    }
    const DRAWBOT_SupplierSuite1* DRAWBOTSupplierSuite1() {
        return Get<DRAWBOT_SupplierSuite1>(SuiteSlot::DRAWBOTSupplierSuite1);
    }
    const DRAWBOT_SurfaceSuite2* DRAWBOTSurfaceSuite2() {
        return Get<DRAWBOT_SurfaceSuite2>(SuiteSlot::DRAWBOTSurfaceSuite2);
    }
    const AEGP_UtilitySuite7* UtilitySuite7() {
        return Get<AEGP_UtilitySuite7>(SuiteSlot::UtilitySuite7);
    }
    const AEGP_PFInterfaceSuite1* PFInterfaceSuite1() {
        return Get<AEGP_PFInterfaceSuite1>(SuiteSlot::PFInterfaceSuite1);
    }
    const AEGP_EffectSuite2* EffectSuite2() { return Get<AEGP_EffectSuite2>(SuiteSlot::EffectSuite2); }
    const AEGP_StreamSuite7* StreamSuite7() { return Get<AEGP_StreamSuite7>(SuiteSlot::StreamSuite7); }
    const AEGP_StreamSuite9* StreamSuite9() { return Get<AEGP_StreamSuite9>(SuiteSlot::StreamSuite9); }
    const AEGP_StreamSuite10* StreamSuite10() {
        return Get<AEGP_StreamSuite10>(SuiteSlot::StreamSuite10);
    }
    const AEGP_DynamicStreamSuite5* DynamicStreamSuite5() {
        return Get<AEGP_DynamicStreamSuite5>(SuiteSlot::DynamicStreamSuite5);
    }
    const AEGP_LayerMaskSuite7* LayerMaskSuite7() {
        return Get<AEGP_LayerMaskSuite7>(SuiteSlot::LayerMaskSuite7);
    }
    const AEGP_MaskOutlineSuite5* MaskOutlineSuite5() {
        return Get<AEGP_MaskOutlineSuite5>(SuiteSlot::MaskOutlineSuite5);
    }
    const AEGP_MemorySuite1* MemorySuite1() { return Get<AEGP_MemorySuite1>(SuiteSlot::MemorySuite1); }

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
