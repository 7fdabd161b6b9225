#include "host/suite_registry.h"

namespace quorvel::host {

// Each suite lives in a file of its own under host/suites/ and defines one SuiteDefinition;
// serving a new suite takes that file and one line here (the custom UI's: in
// custom_ui_suites.cpp).
#define QUORVEL_HOST_SUITES(SUITE)  \
    SUITE(kHandleSuite2)            \
    SUITE(kANSISuite1)              \
    SUITE(kParamUtilsSuite3)        \
    SUITE(kUtilitySuite7)           \
    SUITE(kAEGPPFInterfaceSuite1)   \
    SUITE(kAEGPEffectSuite2)        \
    SUITE(kAEGPLayerMaskSuite7)     \
    SUITE(kAEGPStreamSuite7)        \
    SUITE(kAEGPStreamSuite9)        \
    SUITE(kAEGPStreamSuite10)       \
    SUITE(kAEGPDynamicStreamSuite5) \
    SUITE(kAEGPMaskOutlineSuite5)   \
    SUITE(kAEGPMemorySuite1)        \
    SUITE(kWorldSuite2)             \
    SUITE(kPixelDataSuite1)         \
    SUITE(kIterateFloatSuite1)      \
    SUITE(kAppSuite6)               \
    SUITE(kPathQuerySuite1)         \
    SUITE(kPathDataSuite1)

#define QUORVEL_DECLARE_SUITE(definition) extern const SuiteDefinition definition;
QUORVEL_HOST_SUITES(QUORVEL_DECLARE_SUITE)
#undef QUORVEL_DECLARE_SUITE

const std::vector<SuiteDefinition>& BuiltinSuites() {
#define QUORVEL_LIST_SUITE(definition) definition,
    static const std::vector<SuiteDefinition> suites = [] {
        std::vector<SuiteDefinition> all = {QUORVEL_HOST_SUITES(QUORVEL_LIST_SUITE)};
        const std::vector<SuiteDefinition>& customUi = CustomUiSuites();
        all.insert(all.end(), customUi.begin(), customUi.end());
        return all;
    }();
#undef QUORVEL_LIST_SUITE
    return suites;
}

}  // namespace quorvel::host
