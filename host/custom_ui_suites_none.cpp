#include "host/suite_registry.h"

namespace quorvel::host {

// A host without Cairo has no Drawbot to draw with, so it serves no custom UI at all.
const std::vector<SuiteDefinition>& CustomUiSuites() {
    static const std::vector<SuiteDefinition> none;
    return none;
}

}  // namespace quorvel::host
