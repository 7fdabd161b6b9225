#include "host/frame_suites.h"
#include "host/suite_registry.h"

namespace quorvel::host {

// The suites of a frame's pixels (host/frame_suites.cpp).
extern const SuiteDefinition kWorldSuite2 = {kPFWorldSuite, kPFWorldSuiteVersion2, WorldSuite2()};
extern const SuiteDefinition kPixelDataSuite1 = {kPFPixelDataSuite, kPFPixelDataSuiteVersion1,
                                                 PixelDataSuite1()};
extern const SuiteDefinition kIterateFloatSuite1 = {
    kPFIterateFloatSuite, kPFIterateFloatSuiteVersion1, IterateFloatSuite1()};

}  // namespace quorvel::host
