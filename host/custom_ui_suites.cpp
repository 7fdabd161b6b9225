#include "host/suite_registry.h"

namespace quorvel::host {

#define QUORVEL_CUSTOM_UI_SUITES(SUITE) \
    SUITE(kEffectCustomUISuite1)        \
    SUITE(kDrawbotDrawSuite1)           \
    SUITE(kDrawbotSupplierSuite1)       \
    SUITE(kDrawbotSurfaceSuite2)        \
    SUITE(kDrawbotPathSuite1)

#define QUORVEL_DECLARE_SUITE(definition) extern const SuiteDefinition definition;
QUORVEL_CUSTOM_UI_SUITES(QUORVEL_DECLARE_SUITE)
#undef QUORVEL_DECLARE_SUITE

const std::vector<SuiteDefinition>& CustomUiSuites() {
#define QUORVEL_LIST_SUITE(definition) definition,
    static const std::vector<SuiteDefinition> suites = {
        QUORVEL_CUSTOM_UI_SUITES(QUORVEL_LIST_SUITE)};
#undef QUORVEL_LIST_SUITE
    return suites;
}

}  // namespace quorvel::host
