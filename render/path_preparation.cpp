#include "render/path_preparation.h"

#include "shell/toolkit/errors.h"

void ThrowIfPathError(PF_Err err) {
    if (err != PF_Err_NONE) {
        throw ReportedAsOutOfMemory(err);
    }
}

PathPreparation::PathPreparation(const PF_PathDataSuite1* suite, PF_ProgPtr effectRef,
                                 PF_PathOutlinePtr path)
    : suite_(suite), effectRef_(effectRef), path_(path) {}

PathPreparation::~PathPreparation() {
    if (preparation_ != nullptr) {
        suite_->PF_PathCleanupSegLength(effectRef_, path_, segment_, &preparation_);
    }
}

void PathPreparation::Prepare(A_long segment, A_long frequency) {
    Cleanup();
    PF_PathSegPrepPtr preparation = nullptr;
    ThrowIfPathError(
        suite_->PF_PathPrepareSegLength(effectRef_, path_, segment, frequency, &preparation));
    segment_ = segment;
    preparation_ = preparation;
}

void PathPreparation::Cleanup() {
    if (preparation_ == nullptr) {
        return;
    }
    // Handed back exactly once: a host that frees the preparation and then reports a failure
    // must not be asked to free it again.
    PF_PathSegPrepPtr preparation = preparation_;
    preparation_ = nullptr;
    ThrowIfPathError(suite_->PF_PathCleanupSegLength(effectRef_, path_, segment_, &preparation));
}
