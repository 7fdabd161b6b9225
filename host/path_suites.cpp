#include "host/path_suites.h"

#include <map>
#include <memory>
#include <mutex>

#include "host/segment_length_table.h"

// The host's own records behind the suites' opaque pointers.
struct PF_PathOutline {
    PF_ProgPtr effectRef;
    PF_PathID id;
    quorvel::host::MaskShape shape;
};

struct PF_PathSegPrep {
    const PF_PathOutline* path;
    int segment;
    quorvel::host::SegmentLengthTable table;
};

namespace quorvel::host {

namespace {

struct Registry {
    std::mutex mutex;
    PathSuiteHooks hooks;
    std::map<const PF_PathOutline*, std::unique_ptr<PF_PathOutline>> paths;
    std::map<const PF_PathSegPrep*, std::unique_ptr<PF_PathSegPrep>> preparations;
};

Registry& TheRegistry() {
    static Registry registry;
    return registry;
}

PF_Err Fault(Registry& registry, const char* function) {
    return registry.hooks.fault != nullptr ? registry.hooks.fault(function) : PF_Err_NONE;
}

void Count(Registry& registry, const char* kind, int delta) {
    if (registry.hooks.count != nullptr) {
        registry.hooks.count(kind, delta);
    }
}

const MaskSet* MasksOf(Registry& registry, PF_ProgPtr effectRef) {
    return registry.hooks.masksOf != nullptr ? registry.hooks.masksOf(effectRef) : nullptr;
}

// The live outline, or null when the pointer is not one that the host handed out.
const PF_PathOutline* LivePath(Registry& registry, PF_PathOutlinePtr path) {
    const auto found = registry.paths.find(path);
    return found == registry.paths.end() ? nullptr : found->second.get();
}

bool ValidSegment(const PF_PathOutline& path, A_long segment) {
    return segment >= 0 && segment < path.shape.SegmentCount();
}

PF_Err CheckoutPath(PF_ProgPtr effectRef, PF_PathID id, A_long whatTime, A_long /*timeStep*/,
                    A_u_long timeScale, PF_PathOutlinePtr* pathOut) {
    Registry& registry = TheRegistry();
    std::lock_guard<std::mutex> lock(registry.mutex);
    if (const PF_Err err = Fault(registry, "PF_CheckoutPath")) {
        return err;
    }
    if (pathOut == nullptr) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    *pathOut = nullptr;
    const MaskSet* masks = MasksOf(registry, effectRef);
    if (masks == nullptr) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    const MaskPath* mask = masks->Find(id);
    if (mask == nullptr) {
        return PF_Err_NONE;
    }
    const double seconds =
        timeScale == 0 ? 0.0 : static_cast<double>(whatTime) / static_cast<double>(timeScale);
    auto outline =
        std::make_unique<PF_PathOutline>(PF_PathOutline{effectRef, id, mask->ShapeAt(seconds)});
    *pathOut = outline.get();
    registry.paths.emplace(outline.get(), std::move(outline));
    Count(registry, "path", +1);
    return PF_Err_NONE;
}

PF_Err CheckinPath(PF_ProgPtr /*effectRef*/, PF_PathID id, PF_Boolean /*changed*/,
                   PF_PathOutlinePtr path) {
    Registry& registry = TheRegistry();
    std::lock_guard<std::mutex> lock(registry.mutex);
    if (const PF_Err err = Fault(registry, "PF_CheckinPath")) {
        return err;
    }
    const auto found = registry.paths.find(path);
    if (found == registry.paths.end() || found->second->id != id) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    registry.paths.erase(found);
    Count(registry, "path", -1);
    return PF_Err_NONE;
}

PF_Err PathIsOpen(PF_ProgPtr /*effectRef*/, PF_PathOutlinePtr pathP, PF_Boolean* open) {
    Registry& registry = TheRegistry();
    std::lock_guard<std::mutex> lock(registry.mutex);
    if (const PF_Err err = Fault(registry, "PF_PathIsOpen")) {
        return err;
    }
    const PF_PathOutline* path = LivePath(registry, pathP);
    if (path == nullptr || open == nullptr) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    *open = path->shape.closed ? 0 : 1;
    return PF_Err_NONE;
}

PF_Err PathNumSegments(PF_ProgPtr /*effectRef*/, PF_PathOutlinePtr pathP, A_long* count) {
    Registry& registry = TheRegistry();
    std::lock_guard<std::mutex> lock(registry.mutex);
    if (const PF_Err err = Fault(registry, "PF_PathNumSegments")) {
        return err;
    }
    const PF_PathOutline* path = LivePath(registry, pathP);
    if (path == nullptr || count == nullptr) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    *count = path->shape.SegmentCount();
    return PF_Err_NONE;
}

PF_Err PathPrepareSegLength(PF_ProgPtr /*effectRef*/, PF_PathOutlinePtr pathP, A_long segment,
                            A_long frequency, PF_PathSegPrepPtr* preparationOut) {
    Registry& registry = TheRegistry();
    const PF_PathOutline* path = nullptr;
    {
        std::lock_guard<std::mutex> lock(registry.mutex);
        if (const PF_Err err = Fault(registry, "PF_PathPrepareSegLength")) {
            return err;
        }
        path = LivePath(registry, pathP);
        if (path == nullptr || preparationOut == nullptr || !ValidSegment(*path, segment)) {
            return PF_Err_BAD_CALLBACK_PARAM;
        }
    }
    // The outline stays live while its caller works on it; the table is built without the
    // lock so that render threads measure their paths in parallel.
    auto preparation = std::make_unique<PF_PathSegPrep>(
        PF_PathSegPrep{path, segment, SegmentLengthTable(path->shape.Segment(segment), frequency)});
    std::lock_guard<std::mutex> lock(registry.mutex);
    *preparationOut = preparation.get();
    registry.preparations.emplace(preparation.get(), std::move(preparation));
    Count(registry, "path preparation", +1);
    return PF_Err_NONE;
}

// The preparation passed with a call, when there is one; it must be live and made for the
// same path and segment.
PF_Err PreparationOf(Registry& registry, const PF_PathOutline* path, A_long segment,
                     PF_PathSegPrepPtr* preparationP0, const PF_PathSegPrep** found) {
    *found = nullptr;
    if (preparationP0 == nullptr || *preparationP0 == nullptr) {
        return PF_Err_NONE;
    }
    const auto live = registry.preparations.find(*preparationP0);
    if (live == registry.preparations.end() || live->second->path != path ||
        live->second->segment != segment) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    *found = live->second.get();
    return PF_Err_NONE;
}

PF_Err PathGetSegLength(PF_ProgPtr /*effectRef*/, PF_PathOutlinePtr pathP, A_long segment,
                        PF_PathSegPrepPtr* preparationP0, PF_FpLong* length) {
    Registry& registry = TheRegistry();
    std::lock_guard<std::mutex> lock(registry.mutex);
    if (const PF_Err err = Fault(registry, "PF_PathGetSegLength")) {
        return err;
    }
    const PF_PathOutline* path = LivePath(registry, pathP);
    if (path == nullptr || length == nullptr || !ValidSegment(*path, segment)) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    const PF_PathSegPrep* preparation = nullptr;
    if (const PF_Err err = PreparationOf(registry, path, segment, preparationP0, &preparation)) {
        return err;
    }
    *length = preparation != nullptr ? preparation->table.Length()
                                     : path->shape.Segment(segment).LengthBetween(0.0, 1.0);
    return PF_Err_NONE;
}

PF_Err PathEvalSegLength(PF_ProgPtr /*effectRef*/, PF_PathOutlinePtr pathP,
                         PF_PathSegPrepPtr* preparationP0, A_long segment, PF_FpLong length,
                         PF_FpLong* x, PF_FpLong* y) {
    Registry& registry = TheRegistry();
    const PF_PathOutline* path = nullptr;
    const PF_PathSegPrep* preparation = nullptr;
    {
        std::lock_guard<std::mutex> lock(registry.mutex);
        if (const PF_Err err = Fault(registry, "PF_PathEvalSegLength")) {
            return err;
        }
        path = LivePath(registry, pathP);
        if (path == nullptr || x == nullptr || y == nullptr || !ValidSegment(*path, segment)) {
            return PF_Err_BAD_CALLBACK_PARAM;
        }
        if (const PF_Err err =
                PreparationOf(registry, path, segment, preparationP0, &preparation)) {
            return err;
        }
    }
    const PathPoint point =
        preparation != nullptr
            ? preparation->table.PointAtLength(length)
            : SegmentLengthTable(path->shape.Segment(segment), PathSuites::kDefaultFrequency)
                  .PointAtLength(length);
    *x = point.x;
    *y = point.y;
    return PF_Err_NONE;
}

PF_Err PathCleanupSegLength(PF_ProgPtr /*effectRef*/, PF_PathOutlinePtr pathP, A_long segment,
                            PF_PathSegPrepPtr* preparationP) {
    Registry& registry = TheRegistry();
    std::lock_guard<std::mutex> lock(registry.mutex);
    if (const PF_Err err = Fault(registry, "PF_PathCleanupSegLength")) {
        return err;
    }
    const PF_PathOutline* path = LivePath(registry, pathP);
    const PF_PathSegPrep* preparation = nullptr;
    if (path == nullptr || preparationP == nullptr || *preparationP == nullptr ||
        PreparationOf(registry, path, segment, preparationP, &preparation) != PF_Err_NONE) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    registry.preparations.erase(preparation);
    *preparationP = nullptr;
    Count(registry, "path preparation", -1);
    return PF_Err_NONE;
}

PF_Err NumPaths(PF_ProgPtr effectRef, A_long* count) {
    Registry& registry = TheRegistry();
    std::lock_guard<std::mutex> lock(registry.mutex);
    if (const PF_Err err = Fault(registry, "PF_NumPaths")) {
        return err;
    }
    const MaskSet* masks = MasksOf(registry, effectRef);
    if (masks == nullptr || count == nullptr) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    *count = static_cast<A_long>(masks->masks.size());
    return PF_Err_NONE;
}

PF_Err PathInfo(PF_ProgPtr effectRef, A_long index, PF_PathID* id) {
    Registry& registry = TheRegistry();
    std::lock_guard<std::mutex> lock(registry.mutex);
    if (const PF_Err err = Fault(registry, "PF_PathInfo")) {
        return err;
    }
    const MaskSet* masks = MasksOf(registry, effectRef);
    if (masks == nullptr || id == nullptr || index < 0 ||
        static_cast<size_t>(index) >= masks->masks.size()) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    *id = masks->masks[static_cast<size_t>(index)].id;
    return PF_Err_NONE;
}

constexpr PF_PathQuerySuite1 kQuerySuite = {&NumPaths, &PathInfo, &CheckoutPath, &CheckinPath};

constexpr PF_PathDataSuite1 kDataSuite = {&PathIsOpen,           &PathNumSegments,
                                          &PathPrepareSegLength, &PathGetSegLength,
                                          &PathEvalSegLength,    &PathCleanupSegLength};

}  // namespace

void PathSuites::Install(const PathSuiteHooks& hooks) {
    Registry& registry = TheRegistry();
    std::lock_guard<std::mutex> lock(registry.mutex);
    registry.hooks = hooks;
}

const PF_PathQuerySuite1* PathSuites::Query() {
    return &kQuerySuite;
}
const PF_PathDataSuite1* PathSuites::Data() {
    return &kDataSuite;
}

size_t PathSuites::CheckedOutPaths() {
    Registry& registry = TheRegistry();
    std::lock_guard<std::mutex> lock(registry.mutex);
    return registry.paths.size();
}

size_t PathSuites::LivePreparations() {
    Registry& registry = TheRegistry();
    std::lock_guard<std::mutex> lock(registry.mutex);
    return registry.preparations.size();
}

}  // namespace quorvel::host
