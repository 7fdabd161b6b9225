#include <cstring>

#include "host/suite_registry.h"
#include "host/suites/drawbot_calls.h"

namespace quorvel::host {

namespace {

using Kind = DrawbotObject::Kind;

// Hands a new object to the module through out; a fault that asks for null hands out null.
template <typename Ref>
SPErr HandOut(const char* function, DrawbotObject object, Ref* out) {
    if (out == nullptr) {
        return RefuseMisuse(std::string(function) + " without a place for the object");
    }
    *out = nullptr;
    if (const auto fault = FaultAnswer(function)) {
        return *fault;
    }
    *out = reinterpret_cast<Ref>(TheDrawbotObjects().Make(std::move(object)));
    return kSPNoError;
}

DrawbotObject Coloured(Kind kind, const DRAWBOT_ColorRGBA* colour, float size) {
    DrawbotObject object;
    object.kind = kind;
    object.colour = *colour;
    object.size = size;
    return object;
}

SPErr NewPen(DRAWBOT_SupplierRef supplier, const DRAWBOT_ColorRGBA* colour, float size,
             DRAWBOT_PenRef* pen) {
    if (DrawbotCanvas::FromSupplier(supplier) == nullptr || colour == nullptr) {
        return RefuseMisuse("NewPen of an unknown supplier or without a colour");
    }
    return HandOut("NewPen", Coloured(Kind::Pen, colour, size), pen);
}

SPErr NewBrush(DRAWBOT_SupplierRef supplier, const DRAWBOT_ColorRGBA* colour,
               DRAWBOT_BrushRef* brush) {
    if (DrawbotCanvas::FromSupplier(supplier) == nullptr || colour == nullptr) {
        return RefuseMisuse("NewBrush of an unknown supplier or without a colour");
    }
    return HandOut("NewBrush", Coloured(Kind::Brush, colour, 0), brush);
}

SPErr NewPath(DRAWBOT_SupplierRef supplier, DRAWBOT_PathRef* path) {
    if (DrawbotCanvas::FromSupplier(supplier) == nullptr) {
        return RefuseMisuse("NewPath of an unknown supplier");
    }
    DrawbotObject object;
    object.kind = Kind::Path;
    return HandOut("NewPath", std::move(object), path);
}

SPErr NewDefaultFont(DRAWBOT_SupplierRef supplier, float size, DRAWBOT_FontRef* font) {
    if (DrawbotCanvas::FromSupplier(supplier) == nullptr) {
        return RefuseMisuse("NewDefaultFont of an unknown supplier");
    }
    DrawbotObject object;
    object.kind = Kind::Font;
    object.size = size;
    return HandOut("NewDefaultFont", std::move(object), font);
}

bool LayoutSupported(const DrawbotSupplierSettings& settings, DRAWBOT_PixelLayout layout) {
    return (layout == kDRAWBOT_PixelLayout_32RGB && settings.supportsARGB) ||
           (layout == kDRAWBOT_PixelLayout_32BGR && settings.supportsBGRA);
}

SPErr NewImageFromBuffer(DRAWBOT_SupplierRef supplier, int width, int height, int rowBytes,
                         DRAWBOT_PixelLayout layout, const void* data, DRAWBOT_ImageRef* image) {
    DrawbotCanvas* canvas = DrawbotCanvas::FromSupplier(supplier);
    if (canvas == nullptr || data == nullptr) {
        return RefuseMisuse("NewImageFromBuffer of an unknown supplier or without pixels");
    }
    if (width <= 0 || height <= 0 || rowBytes < width * 4 ||
        !LayoutSupported(canvas->settings(), layout)) {
        if (image != nullptr) {
            *image = nullptr;
        }
        FaultAnswer("NewImageFromBuffer");
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    DrawbotObject object;
    object.kind = Kind::Image;
    object.width = width;
    object.height = height;
    object.rowBytes = rowBytes;
    object.layout = layout;
    const auto* bytes = static_cast<const uint8_t*>(data);
    object.bytes.assign(bytes, bytes + static_cast<size_t>(rowBytes) * static_cast<size_t>(height));
    return HandOut("NewImageFromBuffer", std::move(object), image);
}

SPErr SupportsText(DRAWBOT_SupplierRef supplier, A_Boolean* supports) {
    if (DrawbotCanvas::FromSupplier(supplier) == nullptr || supports == nullptr) {
        return RefuseMisuse("SupportsText of an unknown supplier or without a place");
    }
    *supports = 0;
    if (const auto fault = FaultAnswer("SupportsText")) {
        return *fault;
    }
    *supports = 1;
    return kSPNoError;
}

SPErr GetDefaultFontSize(DRAWBOT_SupplierRef supplier, float* size) {
    DrawbotCanvas* canvas = DrawbotCanvas::FromSupplier(supplier);
    if (canvas == nullptr || size == nullptr) {
        return RefuseMisuse("GetDefaultFontSize of an unknown supplier or without a place");
    }
    *size = 0;
    if (const auto fault = FaultAnswer("GetDefaultFontSize")) {
        return *fault;
    }
    *size = canvas->settings().defaultFontSize;
    return kSPNoError;
}

// One of the four layout questions: the answer is the supplier's setting.
template <bool DrawbotSupplierSettings::*Setting>
SPErr Answer(const char* function, DRAWBOT_SupplierRef supplier, A_Boolean* answer) {
    DrawbotCanvas* canvas = DrawbotCanvas::FromSupplier(supplier);
    if (canvas == nullptr || answer == nullptr) {
        return RefuseMisuse(std::string(function) + " of an unknown supplier or without a place");
    }
    *answer = 0;
    if (const auto fault = FaultAnswer(function)) {
        return *fault;
    }
    *answer = canvas->settings().*Setting ? 1 : 0;
    return kSPNoError;
}

SPErr SupportsBGRA(DRAWBOT_SupplierRef supplier, A_Boolean* answer) {
    return Answer<&DrawbotSupplierSettings::supportsBGRA>("SupportsPixelLayoutBGRA", supplier,
                                                          answer);
}
SPErr PrefersBGRA(DRAWBOT_SupplierRef supplier, A_Boolean* answer) {
    return Answer<&DrawbotSupplierSettings::prefersBGRA>("PrefersPixelLayoutBGRA", supplier,
                                                         answer);
}
SPErr SupportsARGB(DRAWBOT_SupplierRef supplier, A_Boolean* answer) {
    return Answer<&DrawbotSupplierSettings::supportsARGB>("SupportsPixelLayoutARGB", supplier,
                                                          answer);
}
SPErr PrefersARGB(DRAWBOT_SupplierRef supplier, A_Boolean* answer) {
    return Answer<&DrawbotSupplierSettings::prefersARGB>("PrefersPixelLayoutARGB", supplier,
                                                         answer);
}

SPErr RetainObject(DRAWBOT_ObjectRef object) {
    if (const auto fault = FaultAnswer("RetainObject")) {
        return *fault;
    }
    if (!TheDrawbotObjects().Retain(object)) {
        return RefuseMisuse("RetainObject of an object that is not alive");
    }
    return kSPNoError;
}

// A release that fails still takes the reference back: the fault is in the answer only, so
// that a module that ignores it leaves nothing behind.
SPErr ReleaseObject(DRAWBOT_ObjectRef object) {
    const auto fault = FaultAnswer("ReleaseObject");
    if (!TheDrawbotObjects().Release(object)) {
        return RefuseMisuse("ReleaseObject of an object that is not alive");
    }
    return fault ? *fault : kSPNoError;
}

const DRAWBOT_SupplierSuite1 kSupplierSuite = {
    &NewPen,         &NewBrush,           &SupportsText, &GetDefaultFontSize,
    &NewDefaultFont, &NewImageFromBuffer, &NewPath,      &SupportsBGRA,
    &PrefersBGRA,    &SupportsARGB,       &PrefersARGB,  &RetainObject,
    &ReleaseObject};

}  // namespace

extern const SuiteDefinition kDrawbotSupplierSuite1 = {
    kDRAWBOT_SupplierSuite, kDRAWBOT_SupplierSuite_Version1, &kSupplierSuite};

}  // namespace quorvel::host
