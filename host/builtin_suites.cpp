#include "host/suite_registry.h"

namespace quorvel::host {

// Each suite lives in a file of its own under host/suites/ and defines one SuiteDefinition;
// serving a new suite takes that file and one line here.
#define QUORVEL_HOST_SUITES(SUITE) \
    SUITE(kHandleSuite2)           \
    SUITE(kANSISuite1)             \
    SUITE(kParamUtilsSuite3)       \
    SUITE(kUtilitySuite7)

#define QUORVEL_DECLARE_SUITE(definition) extern const SuiteDefinition definition;
QUORVEL_HOST_SUITES(QUORVEL_DECLARE_SUITE)
#undef QUORVEL_DECLARE_SUITE

const std::vector<SuiteDefinition>& BuiltinSuites() {
#define QUORVEL_LIST_SUITE(definition) definition,
    static const std::vector<SuiteDefinition> suites = {QUORVEL_HOST_SUITES(QUORVEL_LIST_SUITE)};
#undef QUORVEL_LIST_SUITE
    return suites;
}

}  // namespace quorvel::host
