#include "host/suites/drawbot_calls.h"

#include "host/host.h"

namespace quorvel::host {

DrawbotObjects& TheDrawbotObjects() {
    return Host::Current().State<DrawbotObjects>();
}

void TracePath(cairo_t* context, const std::vector<DrawbotPathElement>& path) {
    cairo_new_path(context);
    for (const DrawbotPathElement& element : path) {
        const float* v = element.values;
        switch (element.op) {
            case DrawbotPathElement::Op::MoveTo:
                cairo_move_to(context, v[0], v[1]);
                break;
            case DrawbotPathElement::Op::LineTo:
                cairo_line_to(context, v[0], v[1]);
                break;
            case DrawbotPathElement::Op::BezierTo:
                cairo_curve_to(context, v[0], v[1], v[2], v[3], v[4], v[5]);
                break;
            case DrawbotPathElement::Op::Rect:
                cairo_rectangle(context, v[0], v[1], v[2], v[3]);
                break;
            case DrawbotPathElement::Op::Close:
                cairo_close_path(context);
                break;
        }
    }
}

}  // namespace quorvel::host
