#include "host/suite_registry.h"
#include "host/suites/drawbot_calls.h"

namespace quorvel::host {

namespace {

using Op = DrawbotPathElement::Op;

SPErr Append(const char* function, DRAWBOT_PathRef pathRef, DrawbotPathElement element) {
    if (const auto fault = FaultAnswer(function)) {
        return *fault;
    }
    DrawbotObject* path = TheDrawbotObjects().Find(pathRef, DrawbotObject::Kind::Path);
    if (path == nullptr) {
        return RefuseMisuse(std::string(function) + " of a path that is not alive");
    }
    path->path.push_back(element);
    return kSPNoError;
}

SPErr MoveTo(DRAWBOT_PathRef path, float x, float y) {
    return Append("MoveTo", path, DrawbotPathElement{Op::MoveTo, {x, y}});
}

SPErr LineTo(DRAWBOT_PathRef path, float x, float y) {
    return Append("LineTo", path, DrawbotPathElement{Op::LineTo, {x, y}});
}

SPErr BezierTo(DRAWBOT_PathRef path, const DRAWBOT_PointF32* p1, const DRAWBOT_PointF32* p2,
               const DRAWBOT_PointF32* p3) {
    if (p1 == nullptr || p2 == nullptr || p3 == nullptr) {
        return RefuseMisuse("BezierTo without its points");
    }
    return Append("BezierTo", path,
                  DrawbotPathElement{Op::BezierTo, {p1->x, p1->y, p2->x, p2->y, p3->x, p3->y}});
}

SPErr AddRect(DRAWBOT_PathRef path, const DRAWBOT_RectF32* rect) {
    if (rect == nullptr) {
        return RefuseMisuse("AddRect without a rectangle");
    }
    return Append("AddRect", path,
                  DrawbotPathElement{Op::Rect, {rect->left, rect->top, rect->width, rect->height}});
}

SPErr Close(DRAWBOT_PathRef path) {
    return Append("Close", path, DrawbotPathElement{Op::Close, {}});
}

const DRAWBOT_PathSuite1 kPathSuite = {&MoveTo, &LineTo, &BezierTo, &AddRect, &Close};

}  // namespace

extern const SuiteDefinition kDrawbotPathSuite1 = {kDRAWBOT_PathSuite, kDRAWBOT_PathSuite_Version1,
                                                   &kPathSuite};

}  // namespace quorvel::host
