#include <cstring>
#include <vector>

#include "host/suite_registry.h"
#include "host/suites/drawbot_calls.h"
#include "host/utf16.h"

namespace quorvel::host {

namespace {

using Kind = DrawbotObject::Kind;

// The font the host draws every default font with.
constexpr char kDefaultFontFace[] = "DejaVu Sans";

DrawbotOperation Operation(DrawbotOperation::Kind kind) {
    DrawbotOperation operation = {};
    operation.kind = kind;
    operation.imageSerial = -1;
    return operation;
}

void SetColour(cairo_t* context, const DRAWBOT_ColorRGBA& colour) {
    cairo_set_source_rgba(context, colour.red, colour.green, colour.blue, colour.alpha);
}

// Answers the fault armed for function, or finds the canvas of surface (a misuse when there
// is none). Exactly one of the two results is set.
struct Start {
    std::optional<SPErr> answer;
    DrawbotCanvas* canvas = nullptr;
};

Start Begin(const char* function, DRAWBOT_SurfaceRef surface) {
    Start start;
    if (const auto fault = FaultAnswer(function)) {
        start.answer = *fault;
        return start;
    }
    start.canvas = DrawbotCanvas::FromSurface(surface);
    if (start.canvas == nullptr) {
        start.answer = RefuseMisuse(std::string(function) + " on an unknown surface");
    }
    return start;
}

SPErr PushStateStack(DRAWBOT_SurfaceRef surface) {
    const Start start = Begin("PushStateStack", surface);
    if (start.answer) {
        return *start.answer;
    }
    cairo_save(start.canvas->Context());
    return kSPNoError;
}

SPErr PopStateStack(DRAWBOT_SurfaceRef surface) {
    const Start start = Begin("PopStateStack", surface);
    if (start.answer) {
        return *start.answer;
    }
    cairo_restore(start.canvas->Context());
    return kSPNoError;
}

SPErr PaintRect(DRAWBOT_SurfaceRef surface, const DRAWBOT_ColorRGBA* colour,
                const DRAWBOT_RectF32* rect) {
    const Start start = Begin("PaintRect", surface);
    if (start.answer) {
        return *start.answer;
    }
    if (colour == nullptr || rect == nullptr) {
        return RefuseMisuse("PaintRect without a colour or a rectangle");
    }
    cairo_t* context = start.canvas->Context();
    cairo_new_path(context);
    cairo_rectangle(context, rect->left, rect->top, rect->width, rect->height);
    SetColour(context, *colour);
    cairo_fill(context);
    DrawbotOperation operation = Operation(DrawbotOperation::Kind::PaintRect);
    operation.colour = *colour;
    operation.path.push_back(DrawbotPathElement{
        DrawbotPathElement::Op::Rect, {rect->left, rect->top, rect->width, rect->height}});
    TheDrawbotObjects().Record(operation);
    return kSPNoError;
}

SPErr FillPath(DRAWBOT_SurfaceRef surface, DRAWBOT_BrushRef brushRef, DRAWBOT_PathRef pathRef,
               DRAWBOT_FillType fillType) {
    const Start start = Begin("FillPath", surface);
    if (start.answer) {
        return *start.answer;
    }
    const DrawbotObject* brush = TheDrawbotObjects().Find(brushRef, Kind::Brush);
    const DrawbotObject* path = TheDrawbotObjects().Find(pathRef, Kind::Path);
    if (brush == nullptr || path == nullptr) {
        return RefuseMisuse("FillPath with a brush or path that is not alive");
    }
    cairo_t* context = start.canvas->Context();
    TracePath(context, path->path);
    cairo_set_fill_rule(context, fillType == kDRAWBOT_FillType_EvenOdd ? CAIRO_FILL_RULE_EVEN_ODD
                                                                       : CAIRO_FILL_RULE_WINDING);
    SetColour(context, brush->colour);
    cairo_fill(context);
    DrawbotOperation operation = Operation(DrawbotOperation::Kind::FillPath);
    operation.colour = brush->colour;
    operation.path = path->path;
    TheDrawbotObjects().Record(operation);
    return kSPNoError;
}

SPErr StrokePath(DRAWBOT_SurfaceRef surface, DRAWBOT_PenRef penRef, DRAWBOT_PathRef pathRef) {
    const Start start = Begin("StrokePath", surface);
    if (start.answer) {
        return *start.answer;
    }
    const DrawbotObject* pen = TheDrawbotObjects().Find(penRef, Kind::Pen);
    const DrawbotObject* path = TheDrawbotObjects().Find(pathRef, Kind::Path);
    if (pen == nullptr || path == nullptr) {
        return RefuseMisuse("StrokePath with a pen or path that is not alive");
    }
    cairo_t* context = start.canvas->Context();
    TracePath(context, path->path);
    cairo_set_line_width(context, pen->size);
    SetColour(context, pen->colour);
    cairo_stroke(context);
    DrawbotOperation operation = Operation(DrawbotOperation::Kind::StrokePath);
    operation.colour = pen->colour;
    operation.size = pen->size;
    operation.path = path->path;
    TheDrawbotObjects().Record(operation);
    return kSPNoError;
}

// The image's pixels as Cairo wants them: premultiplied native-endian words.
cairo_surface_t* ImageSurface(const DrawbotObject& image) {
    cairo_surface_t* surface =
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, image.width, image.height);
    unsigned char* target = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const bool argb = image.layout == kDRAWBOT_PixelLayout_32RGB;
    for (int y = 0; y < image.height; ++y) {
        const uint8_t* row = image.bytes.data() + static_cast<size_t>(y) * image.rowBytes;
        for (int x = 0; x < image.width; ++x) {
            const uint8_t* p = row + x * 4;
            const uint32_t a = argb ? p[0] : p[3];
            const uint32_t r = argb ? p[1] : p[2];
            const uint32_t g = argb ? p[2] : p[1];
            const uint32_t b = argb ? p[3] : p[0];
            const uint32_t word = (a << 24) | ((r * a + 127) / 255 << 16) |
                                  ((g * a + 127) / 255 << 8) | ((b * a + 127) / 255);
            std::memcpy(target + static_cast<size_t>(y) * stride + x * 4, &word, 4);
        }
    }
    cairo_surface_mark_dirty(surface);
    return surface;
}

SPErr DrawImage(DRAWBOT_SurfaceRef surface, DRAWBOT_ImageRef imageRef,
                const DRAWBOT_PointF32* origin, float alpha) {
    const Start start = Begin("DrawImage", surface);
    if (start.answer) {
        return *start.answer;
    }
    const DrawbotObject* image = TheDrawbotObjects().Find(imageRef, Kind::Image);
    if (image == nullptr || origin == nullptr) {
        return RefuseMisuse("DrawImage of an image that is not alive or without an origin");
    }
    cairo_t* context = start.canvas->Context();
    cairo_surface_t* pixels = ImageSurface(*image);
    cairo_set_source_surface(context, pixels, origin->x, origin->y);
    cairo_paint_with_alpha(context, alpha);
    cairo_surface_destroy(pixels);
    DrawbotOperation operation = Operation(DrawbotOperation::Kind::DrawImage);
    operation.origin = *origin;
    operation.alpha = alpha;
    operation.imageSerial = image->imageSerial;
    TheDrawbotObjects().Record(operation);
    return kSPNoError;
}

// The text starts at the origin on its baseline; centred and right-aligned text ends half or
// all of its advance before it. Every truncation style draws the whole text.
SPErr DrawString(DRAWBOT_SurfaceRef surface, DRAWBOT_BrushRef brushRef, DRAWBOT_FontRef fontRef,
                 const DRAWBOT_UTF16Char* text, const DRAWBOT_PointF32* origin,
                 DRAWBOT_TextAlignment alignment, DRAWBOT_TextTruncation, float) {
    const Start start = Begin("DrawString", surface);
    if (start.answer) {
        return *start.answer;
    }
    const DrawbotObject* brush = TheDrawbotObjects().Find(brushRef, Kind::Brush);
    const DrawbotObject* font = TheDrawbotObjects().Find(fontRef, Kind::Font);
    if (brush == nullptr || font == nullptr || text == nullptr || origin == nullptr) {
        return RefuseMisuse("DrawString with a brush or font that is not alive, or without text");
    }
    const std::string utf8 = Utf8FromUtf16(Utf16Terminated(text));
    cairo_t* context = start.canvas->Context();
    cairo_select_font_face(context, kDefaultFontFace, CAIRO_FONT_SLANT_NORMAL,
                           CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(context, font->size);
    cairo_text_extents_t extents;
    cairo_text_extents(context, utf8.c_str(), &extents);
    double x = origin->x;
    if (alignment == kDRAWBOT_TextAlignment_Center) {
        x -= extents.x_advance / 2;
    } else if (alignment == kDRAWBOT_TextAlignment_Right) {
        x -= extents.x_advance;
    }
    cairo_new_path(context);
    cairo_move_to(context, x, origin->y);
    SetColour(context, brush->colour);
    cairo_show_text(context, utf8.c_str());
    DrawbotOperation operation = Operation(DrawbotOperation::Kind::DrawString);
    operation.colour = brush->colour;
    operation.size = font->size;
    operation.origin = *origin;
    operation.text = utf8;
    operation.alignment = alignment;
    TheDrawbotObjects().Record(operation);
    return kSPNoError;
}

SPErr Flush(DRAWBOT_SurfaceRef surface) {
    const Start start = Begin("Flush", surface);
    if (start.answer) {
        return *start.answer;
    }
    cairo_surface_flush(cairo_get_target(start.canvas->Context()));
    return kSPNoError;
}

const DRAWBOT_SurfaceSuite2 kSurfaceSuite = {&PushStateStack, &PopStateStack, &PaintRect, &FillPath,
                                             &StrokePath,     &DrawString,    &DrawImage, &Flush};

}  // namespace

extern const SuiteDefinition kDrawbotSurfaceSuite2 = {
    kDRAWBOT_SurfaceSuite, kDRAWBOT_SurfaceSuite_Version2, &kSurfaceSuite};

}  // namespace quorvel::host
