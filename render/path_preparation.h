#pragma once

#include "host_api/suites.h"

// One live length preparation of a path segment. The destructor cleans up a preparation that
// is still live, so a failure anywhere between preparing and cleaning up leaves nothing
// behind in the host.
class PathPreparation {
  public:
    PathPreparation(const PF_PathDataSuite1* suite, PF_ProgPtr effectRef, PF_PathOutlinePtr path);
    ~PathPreparation();
    PathPreparation(const PathPreparation&) = delete;
    PathPreparation& operator=(const PathPreparation&) = delete;

    // Prepares segment for length work; raises ThrowIfPathError's failure.
    void Prepare(A_long segment, A_long frequency);
    // Frees the live preparation, if any, with one call whatever its answer; raises
    // ThrowIfPathError's failure.
    void Cleanup();

    bool Live() const { return preparation_ != nullptr; }
    PF_PathSegPrepPtr* Handle() { return &preparation_; }

  private:
    const PF_PathDataSuite1* suite_;
    PF_ProgPtr effectRef_;
    PF_PathOutlinePtr path_;
    A_long segment_ = 0;
    PF_PathSegPrepPtr preparation_ = nullptr;
};

// Raises ReportedAsOutOfMemory caused by the host's code when a path call failed: in a frame
// every path failure is the host's PF_Err_OUT_OF_MEMORY.
void ThrowIfPathError(PF_Err err);
