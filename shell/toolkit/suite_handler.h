#pragma once

#include <array>
#include <cstddef>

#include "host_api/drawbot.h"
#include "host_api/effect.h"
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

// The suites that a SuiteHandler can acquire: the slot (also the name of its accessor), the
// suite's table, and its name and version as the host's basic suite knows them. The order is
// the order in which the cache releases them.
#define QUORVEL_SUITES(X)                                                              \
    X(HandleSuite2, PF_HandleSuite2, "PF Handle Suite", 2)                             \
    X(ANSISuite1, PF_ANSICallbacksSuite1, "PF ANSI Suite", 1)                          \
    X(ParamUtilsSuite3, PF_ParamUtilsSuite3, "PF Param Utils Suite", 3)                \
    X(PathQuerySuite1, PF_PathQuerySuite1, "PF Path Query Suite", 1)                   \
    X(PathDataSuite1, PF_PathDataSuite1, "PF Path Data Suite", 1)                      \
    X(iterateFloatSuite1, PF_iterateFloatSuite1, "PF iterateFloat Suite", 1)           \
    X(WorldSuite2, PF_WorldSuite2, "PF World Suite", 2)                                \
    X(PixelDataSuite1, PF_PixelDataSuite1, "PF Pixel Data Suite", 1)                   \
    X(AEAppSuite6, PF_AppSuite6, "PF AE App Suite", 6)                                 \
    X(EffectCustomUISuite1, PF_EffectCustomUISuite1, "PF Effect Custom UI Suite", 1)   \
    X(DRAWBOTDrawSuite1, DRAWBOT_DrawbotSuite1, "DRAWBOT Draw Suite", 1)               \
    X(DRAWBOTSupplierSuite1, DRAWBOT_SupplierSuite1, "DRAWBOT Supplier Suite", 1)      \
    X(DRAWBOTSurfaceSuite2, DRAWBOT_SurfaceSuite2, "DRAWBOT Surface Suite", 2)         \
    X(DRAWBOTPathSuite1, DRAWBOT_PathSuite1, "DRAWBOT Path Suite", 1)                  \
    X(UtilitySuite7, AEGP_UtilitySuite7, "AEGP Utility Suite", 7)                      \
    X(PFInterfaceSuite1, AEGP_PFInterfaceSuite1, "AEGP PF Interface Suite", 1)         \
    X(EffectSuite2, AEGP_EffectSuite2, "AEGP Effect Suite", 2)                         \
    X(StreamSuite7, AEGP_StreamSuite7, "AEGP Stream Suite", 7)                         \
    X(StreamSuite9, AEGP_StreamSuite9, "AEGP Stream Suite", 9)                         \
    X(StreamSuite10, AEGP_StreamSuite10, "AEGP Stream Suite", 10)                      \
    X(DynamicStreamSuite5, AEGP_DynamicStreamSuite5, "AEGP Dynamic Stream Suite", 5)   \
    X(LayerMaskSuite7, AEGP_LayerMaskSuite7, "AEGP Layer Mask Suite", 7)               \
    X(MaskOutlineSuite5, AEGP_MaskOutlineSuite5, "AEGP Mask Outline Suite", 5)         \
    X(MemorySuite1, AEGP_MemorySuite1, "AEGP Memory Suite", 1)

enum class SuiteSlot {
#define QUORVEL_SUITE_SLOT(slot, Table, name, version) slot,
    QUORVEL_SUITES(QUORVEL_SUITE_SLOT)
#undef QUORVEL_SUITE_SLOT
    Count
};

// The table type of a slot's suite.
template <SuiteSlot slot>
struct SuiteTableOf;
#define QUORVEL_SUITE_TABLE(slot, Table, name, version) \
    template <>                                         \
    struct SuiteTableOf<SuiteSlot::slot> {              \
        using type = Table;                             \
    };
QUORVEL_SUITES(QUORVEL_SUITE_TABLE)
#undef QUORVEL_SUITE_TABLE
template <SuiteSlot slot>
using SuiteTable = typename SuiteTableOf<slot>::type;

// Name and version of a slot's suite.
struct SuiteName {
    const char* name;
    A_long version;
};
SuiteName SuiteNameOf(SuiteSlot slot);

// A per-call cache of host suites. Each suite is acquired on first use and released once, by
// Release or by the destructor. Never shared between calls or threads.
class SuiteHandler {
public:
    explicit SuiteHandler(SPBasicSuite* basic);
    ~SuiteHandler();
    SuiteHandler(const SuiteHandler&) = delete;
    SuiteHandler& operator=(const SuiteHandler&) = delete;

    // Raises HostCode(PF_Err_BAD_CALLBACK_PARAM).
    [[noreturn]] static void MissingSuiteError();

    void ReleaseAllSuites();

    // One accessor a slot, named like it; a suite the host does not hand out raises
    // MissingSuiteError.
#define QUORVEL_SUITE_ACCESSOR(slot, Table, name, version) \
    const Table* slot() { return static_cast<const Table*>(Acquire(SuiteSlot::slot)); }
    QUORVEL_SUITES(QUORVEL_SUITE_ACCESSOR)
#undef QUORVEL_SUITE_ACCESSOR

    // The untyped acquisition behind every accessor: the host's result and the pointer must
    // both say success.
    const void* Acquire(SuiteSlot slot);

    // As Acquire, but null instead of raising; nothing is cached when the suite is missing.
    const void* Find(SuiteSlot slot) noexcept;
    template <SuiteSlot slot>
    const SuiteTable<slot>* Find() noexcept {
        return static_cast<const SuiteTable<slot>*>(Find(slot));
    }

    // Acquires through AEFX_AcquireSuite: the pointer alone decides, and a missing suite posts
    // message (or AEFX's own) and gives null; what that costs is the caller's to say.
    const void* AcquireAnnounced(SuiteSlot slot, PF_InData* in_data, PF_OutData* out_data,
                                 const char* message = nullptr);
    template <SuiteSlot slot>
    const SuiteTable<slot>* AcquireAnnounced(PF_InData* in_data, PF_OutData* out_data,
                                             const char* message = nullptr) {
        return static_cast<const SuiteTable<slot>*>(
            AcquireAnnounced(slot, in_data, out_data, message));
    }

    // Gives one suite back now, when it is held; the next use acquires it again.
    void Release(SuiteSlot slot);

    SPBasicSuite* basic;

private:
    std::array<const void*, static_cast<size_t>(SuiteSlot::Count)> suites_{};
};
