#include "host/suites/path_suites.h"

#include <iterator>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "host/effect_instance.h"
#include "host/host.h"
#include "host/layer_masks.h"
#include "host/layer_masks.h"
#include "host/segment_length_table.h"
#include "host/suite_registry.h"

// The host's own records behind the suites' opaque pointers.
struct PF_PathOutline {
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

// The masks and everything handed out of them, per host.
struct PathState {
    std::mutex mutex;
    MaskSet masks;
    std::map<const PF_PathOutline*, std::unique_ptr<PF_PathOutline>> paths;
    std::map<const PF_PathSegPrep*, std::unique_ptr<PF_PathSegPrep>> preparations;
};

std::string PathItem(PF_PathID id) {
    return "path of mask " + std::to_string(id);
}

std::string PreparationItem(PF_PathID id, int segment) {
    return "length preparation of segment " + std::to_string(segment) + " of mask " +
           std::to_string(id);
}

// One call of a path function: the host, its path state, and the fault injected into it.
// An error fault ends the call with its code; a null fault makes it succeed handing out
// nothing.
struct Call {
    explicit Call(const char* name)
        : function(name),
          host(Host::Current()),
          state(host.State<PathState>()),
          fault(host.faults().Enter(name)) {}

    bool Fails() const { return fault && fault->kind == Fault::Kind::Error; }
    bool HandsOutNull() const { return fault && fault->kind == Fault::Kind::Null; }

    // The live outline, or null (a misuse) when the pointer is not one that was handed out.
    const PF_PathOutline* LivePath(PF_PathOutlinePtr path) {
        const auto found = state.paths.find(path);
        if (found == state.paths.end()) {
            host.ledger().Misuse(std::string(function) + " with a path that is not checked out");
            return nullptr;
        }
        return found->second.get();
    }

    // The preparation passed with a call, when there is one; it must be live and made for
    // the same path and segment.
    bool PreparationOf(const PF_PathOutline* path, A_long segment, PF_PathSegPrepPtr* preparationP0,
                       const PF_PathSegPrep** found) {
        *found = nullptr;
        if (preparationP0 == nullptr || *preparationP0 == nullptr) {
            return true;
        }
        const auto live = state.preparations.find(*preparationP0);
        if (live == state.preparations.end() || live->second->path != path ||
            live->second->segment != segment) {
            host.ledger().Misuse(std::string(function) +
                                 " with a preparation of another segment or none live");
            return false;
        }
        *found = live->second.get();
        return true;
    }

    // The live path and, when one is passed, its live preparation of segment, under the
    // state's lock; false (with any misuse noted) when either is not what it should be.
    bool Segment(PF_PathOutlinePtr pathP, A_long segment, PF_PathSegPrepPtr* preparationP0,
                 const PF_PathOutline** path, const PF_PathSegPrep** preparation) {
        std::lock_guard<std::mutex> lock(state.mutex);
        *path = LivePath(pathP);
        return *path != nullptr && segment >= 0 && segment < (*path)->shape.SegmentCount() &&
               PreparationOf(*path, segment, preparationP0, preparation);
    }

    const char* function;
    Host& host;
    PathState& state;
    std::optional<Fault> fault;
};

// A call that answers a question about a checked-out path into *out.
template <typename Out, typename Answer>
PF_Err AnswerAboutPath(const char* function, PF_PathOutlinePtr pathP, Out* out, Answer answer) {
    Call call(function);
    if (call.Fails()) {
        return call.fault->code;
    }
    std::lock_guard<std::mutex> lock(call.state.mutex);
    const PF_PathOutline* path = call.LivePath(pathP);
    if (path == nullptr || out == nullptr) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    *out = answer(call, *path);
    return PF_Err_NONE;
}

PF_Err NumPaths(PF_ProgPtr, A_long* count) {
    Call call("PF_NumPaths");
    if (call.Fails()) {
        return call.fault->code;
    }
    std::lock_guard<std::mutex> lock(call.state.mutex);
    if (count == nullptr) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    *count = call.HandsOutNull() ? 0 : static_cast<A_long>(call.state.masks.masks.size());
    return PF_Err_NONE;
}

PF_Err PathInfo(PF_ProgPtr, A_long index, PF_PathID* id) {
    Call call("PF_PathInfo");
    if (call.Fails()) {
        return call.fault->code;
    }
    std::lock_guard<std::mutex> lock(call.state.mutex);
    const std::vector<MaskPath>& masks = call.state.masks.masks;
    if (id == nullptr || index < 0 || static_cast<size_t>(index) >= masks.size()) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    *id = call.HandsOutNull() ? 0 : masks[static_cast<size_t>(index)].id;
    return PF_Err_NONE;
}

PF_Err CheckoutPath(PF_ProgPtr, PF_PathID id, A_long whatTime, A_long /*timeStep*/,
                    A_u_long timeScale, PF_PathOutlinePtr* pathOut) {
    Call call("PF_CheckoutPath");
    if (call.Fails()) {
        return call.fault->code;
    }
    if (pathOut == nullptr) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    *pathOut = nullptr;
    std::lock_guard<std::mutex> lock(call.state.mutex);
    const MaskPath* mask = call.state.masks.Find(id);
    if (mask == nullptr || call.HandsOutNull()) {
        return PF_Err_NONE;
    }
    const double seconds =
        timeScale == 0 ? 0.0 : static_cast<double>(whatTime) / static_cast<double>(timeScale);
    auto outline = std::make_unique<PF_PathOutline>(PF_PathOutline{id, mask->ShapeAt(seconds)});
    *pathOut = outline.get();
    call.state.paths.emplace(outline.get(), std::move(outline));
    call.host.ledger().Take(PathItem(id));
    return PF_Err_NONE;
}

PF_Err CheckinPath(PF_ProgPtr, PF_PathID id, PF_Boolean /*changed*/, PF_PathOutlinePtr path) {
    Call call("PF_CheckinPath");
    if (call.Fails()) {
        return call.fault->code;
    }
    std::lock_guard<std::mutex> lock(call.state.mutex);
    const auto found = call.state.paths.find(path);
    if (found == call.state.paths.end() || found->second->id != id) {
        call.host.ledger().Misuse("PF_CheckinPath of a path that is not checked out under id " +
                                  std::to_string(id));
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    call.state.paths.erase(found);
    call.host.ledger().Give(PathItem(id));
    return PF_Err_NONE;
}

PF_Err PathIsOpen(PF_ProgPtr, PF_PathOutlinePtr pathP, PF_Boolean* open) {
    return AnswerAboutPath("PF_PathIsOpen", pathP, open,
                           [](const Call&, const PF_PathOutline& path) -> PF_Boolean {
                               return path.shape.closed ? 0 : 1;
                           });
}

PF_Err PathNumSegments(PF_ProgPtr, PF_PathOutlinePtr pathP, A_long* count) {
    return AnswerAboutPath("PF_PathNumSegments", pathP, count,
                           [](const Call& call, const PF_PathOutline& path) -> A_long {
                               return call.HandsOutNull() ? 0 : path.shape.SegmentCount();
                           });
}

PF_Err PathPrepareSegLength(PF_ProgPtr, PF_PathOutlinePtr pathP, A_long segment, A_long frequency,
                            PF_PathSegPrepPtr* preparationOut) {
    Call call("PF_PathPrepareSegLength");
    if (call.Fails()) {
        return call.fault->code;
    }
    const PF_PathOutline* path = nullptr;
    const PF_PathSegPrep* none = nullptr;
    if (preparationOut == nullptr || !call.Segment(pathP, segment, nullptr, &path, &none)) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    *preparationOut = nullptr;
    if (call.HandsOutNull()) {
        return PF_Err_NONE;
    }
    // The outline stays live while its caller works on it; the table is built without the
    // lock so that render threads measure their paths in parallel.
    auto preparation = std::make_unique<PF_PathSegPrep>(
        PF_PathSegPrep{path, segment, SegmentLengthTable(path->shape.Segment(segment), frequency)});
    std::lock_guard<std::mutex> lock(call.state.mutex);
    *preparationOut = preparation.get();
    call.state.preparations.emplace(preparation.get(), std::move(preparation));
    call.host.ledger().Take(PreparationItem(path->id, segment));
    return PF_Err_NONE;
}

PF_Err PathGetSegLength(PF_ProgPtr, PF_PathOutlinePtr pathP, A_long segment,
                        PF_PathSegPrepPtr* preparationP0, PF_FpLong* length) {
    Call call("PF_PathGetSegLength");
    if (call.Fails()) {
        return call.fault->code;
    }
    const PF_PathOutline* path = nullptr;
    const PF_PathSegPrep* preparation = nullptr;
    if (length == nullptr || !call.Segment(pathP, segment, preparationP0, &path, &preparation)) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    *length = preparation != nullptr ? preparation->table.Length()
                                     : path->shape.Segment(segment).LengthBetween(0.0, 1.0);
    return PF_Err_NONE;
}

PF_Err PathEvalSegLength(PF_ProgPtr, PF_PathOutlinePtr pathP, PF_PathSegPrepPtr* preparationP0,
                         A_long segment, PF_FpLong length, PF_FpLong* x, PF_FpLong* y) {
    Call call("PF_PathEvalSegLength");
    if (call.Fails()) {
        return call.fault->code;
    }
    const PF_PathOutline* path = nullptr;
    const PF_PathSegPrep* preparation = nullptr;
    if (x == nullptr || y == nullptr ||
        !call.Segment(pathP, segment, preparationP0, &path, &preparation)) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    const PathPoint point =
        preparation != nullptr
            ? preparation->table.PointAtLength(length)
            : SegmentLengthTable(path->shape.Segment(segment), kDefaultPathFrequency)
                  .PointAtLength(length);
    *x = point.x;
    *y = point.y;
    return PF_Err_NONE;
}

PF_Err PathCleanupSegLength(PF_ProgPtr, PF_PathOutlinePtr pathP, A_long segment,
                            PF_PathSegPrepPtr* preparationP) {
    Call call("PF_PathCleanupSegLength");
    if (call.Fails()) {
        return call.fault->code;
    }
    std::lock_guard<std::mutex> lock(call.state.mutex);
    const PF_PathOutline* path = call.LivePath(pathP);
    const PF_PathSegPrep* preparation = nullptr;
    if (path == nullptr || preparationP == nullptr || *preparationP == nullptr ||
        !call.PreparationOf(path, segment, preparationP, &preparation)) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    call.state.preparations.erase(preparation);
    *preparationP = nullptr;
    call.host.ledger().Give(PreparationItem(path->id, segment));
    return PF_Err_NONE;
}

constexpr PF_PathQuerySuite1 kQuerySuite = {&NumPaths, &PathInfo, &CheckoutPath, &CheckinPath};

constexpr PF_PathDataSuite1 kDataSuite = {&PathIsOpen,           &PathNumSegments,
                                          &PathPrepareSegLength, &PathGetSegLength,
                                          &PathEvalSegLength,    &PathCleanupSegLength};

}  // namespace

extern const SuiteDefinition kPathQuerySuite1 = {kPFPathQuerySuite, kPFPathQuerySuiteVersion1,
                                                 &kQuerySuite};
extern const SuiteDefinition kPathDataSuite1 = {kPFPathDataSuite, kPFPathDataSuiteVersion1,
                                                &kDataSuite};

MaskSet& MaskPaths(Host& host) {
    return host.State<PathState>().masks;
}

std::vector<PF_PathID> SetLayerMasks(Host& host, const std::vector<MaskPath>& masks,
                                     double seconds) {
    // The colours of new masks, in turn, so that neighbouring masks tell apart on screen.
    static constexpr AEGP_ColorVal kMaskColours[] = {
        {1, 1.0, 0.85, 0.2}, {1, 0.3, 0.8, 1.0}, {1, 1.0, 0.45, 0.7}, {1, 0.55, 0.95, 0.4}};
    MaskSet& paths = MaskPaths(host);
    paths.masks.clear();
    std::vector<PF_PathID> ids;
    std::vector<LayerMask> shown;
    for (const MaskPath& mask : masks) {
        ids.push_back(paths.Add(mask));
        LayerMask layerMask;
        layerMask.name = mask.name;
        layerMask.colour = kMaskColours[shown.size() % std::size(kMaskColours)];
        if (!mask.keyframes.empty()) {
            const MaskShape shape = mask.ShapeAt(seconds);
            layerMask.closed = shape.closed;
            for (const MaskVertex& vertex : shape.vertices) {
                layerMask.vertices.push_back(
                    MaskVertexAt(vertex.position.x, vertex.position.y, vertex.inTangent.x,
                                 vertex.inTangent.y, vertex.outTangent.x, vertex.outTangent.y));
            }
        }
        shown.push_back(layerMask);
    }
    host.State<LayerMasks>().Set(shown);
    return ids;
}

size_t CheckedOutPaths(Host& host) {
    PathState& state = host.State<PathState>();
    std::lock_guard<std::mutex> lock(state.mutex);
    return state.paths.size();
}

size_t LivePreparations(Host& host) {
    PathState& state = host.State<PathState>();
    std::lock_guard<std::mutex> lock(state.mutex);
    return state.preparations.size();
}

void ChoosePath(EffectInstance& effect, PF_ParamIndex index, PF_PathID id) {
    PF_ParamDef definition = effect.parameters().At(index);
    definition.u.path_d.path_id = id;
    effect.parameters().Replace(index, definition);
}

}  // namespace quorvel::host
