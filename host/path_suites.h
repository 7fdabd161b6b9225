#pragma once

#include <cstddef>

#include "host/mask_set.h"
#include "host_api/suites.h"

namespace quorvel::host {

// What the path suites need from the rest of the host.
struct PathSuiteHooks {
    // The masks of the effect instance behind effect_ref; null for an unknown instance.
    const MaskSet* (*masksOf)(PF_ProgPtr effectRef) = nullptr;
    // Fault injection: a non-zero result makes the named call fail with that code before it
    // does anything.
    PF_Err (*fault)(const char* function) = nullptr;
    // The ledger: +1 when a path or a length preparation is handed out, -1 when it is given
    // back. Kinds are "path" and "path preparation".
    void (*count)(const char* kind, int delta) = nullptr;
};

// "PF Path Query Suite" 1 and "PF Path Data Suite" 1 over the masks of the effect instances.
// Paths and preparations are host-owned; every call checks that what it is given is live.
class PathSuites {
  public:
    static void Install(const PathSuiteHooks& hooks);
    static const PF_PathQuerySuite1* Query();
    static const PF_PathDataSuite1* Data();

    // What is handed out and not yet given back, across all instances.
    static size_t CheckedOutPaths();
    static size_t LivePreparations();

    // The length-table density used when an evaluation comes without a preparation.
    static constexpr int kDefaultFrequency = 64;
};

}  // namespace quorvel::host
