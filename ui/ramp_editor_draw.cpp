#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

#include "ramp/ramp.h"
#include "shell/toolkit/drawbot_suites.h"
#include "shell/toolkit/locked_handle.h"
#include "shell/toolkit/owned_handle.h"
#include "shell/toolkit/suite_handler.h"
#include "ui/drawbot_refs.h"
#include "ui/ramp_editor.h"
#include "ui/ramp_editor_plot.h"

namespace {

// The editor colours by their use.
enum EditorColour { kBackground = 0, kCurve = 1, kKeyOutline = 2, kBelowCurve = 3, kOutline = 4 };

constexpr float kPenSize = 1.0f;
// Key points are 10-pixel squares around their pixel centres.
constexpr float kKeyHalfSize = 5.0f;
constexpr float kKeySize = 10.0f;
// Every failure before the choice of pixel layout, and a supplier without a layout to offer,
// is reported as this.
constexpr PF_Err kDrawFailed = PF_Err_OUT_OF_MEMORY;

// The Drawbot suites in the order in which a drawing acquires and releases them.
constexpr SuiteSlot kDrawbotSlots[] = {
    SuiteSlot::DRAWBOTDrawSuite1, SuiteSlot::DRAWBOTSupplierSuite1, SuiteSlot::DRAWBOTSurfaceSuite2,
    SuiteSlot::DRAWBOTPathSuite1};

// The four Drawbot suites from the cache, each announced as AEFX_AcquireDrawbotSuites does:
// the first one missing ends it with PF_Err_BAD_CALLBACK_PARAM, and those before it stay held
// until ReleaseDrawbotSuites.
PF_Err AcquireDrawbotSuites(SuiteHandler& suites, PF_InData* in_data, PF_OutData* out_data,
                            DrawbotSuites* drawbot) {
    for (const SuiteSlot slot : kDrawbotSlots) {
        if (suites.AcquireAnnounced(slot, in_data, out_data) == nullptr) {
            return PF_Err_BAD_CALLBACK_PARAM;
        }
    }
    *drawbot = {suites.DRAWBOTDrawSuite1(), suites.DRAWBOTSupplierSuite1(),
                suites.DRAWBOTSurfaceSuite2(), suites.DRAWBOTPathSuite1()};
    return PF_Err_NONE;
}

void ReleaseDrawbotSuites(SuiteHandler& suites) {
    for (const SuiteSlot slot : kDrawbotSlots) {
        suites.Release(slot);
    }
}

// The drawing reference of the event's context; the custom UI suite is held for this call
// only.
PF_Err GetDrawingReference(SuiteHandler& suites, PF_InData* in_data, PF_OutData* out_data,
                           const PF_EventExtra* extra, DRAWBOT_DrawRef* drawRef) {
    const PF_EffectCustomUISuite1* customUi =
        suites.AcquireAnnounced<SuiteSlot::EffectCustomUISuite1>(in_data, out_data);
    if (customUi == nullptr) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    const PF_Err err = customUi->PF_GetDrawingReference(extra->contextH, drawRef);
    suites.Release(SuiteSlot::EffectCustomUISuite1);
    return err;
}

// What one drawing draws with: the cache (whose handle suite holds the curve image's pixels),
// the Drawbot suites, the supplier and surface of the drawing reference, the editor colours.
struct Canvas {
    SuiteHandler& suites;
    DrawbotSuites drawbot;
    DRAWBOT_SupplierRef supplier;
    DRAWBOT_SurfaceRef surface;
    DRAWBOT_ColorRGBA colours[kRampEditorColorCount];
};

// The supplier, the surface and the colours of a drawing reference.
PF_Err PrepareCanvas(PF_InData* in_data, PF_OutData* out_data, DRAWBOT_DrawRef drawRef,
                     Canvas* canvas) {
    const DRAWBOT_DrawbotSuite1* draw = canvas->drawbot.drawSuite;
    PF_Err err = Made(draw->GetSupplier(drawRef, &canvas->supplier), &canvas->supplier);
    if (err == PF_Err_NONE) {
        err = Made(draw->GetSurface(drawRef, &canvas->surface), &canvas->surface);
    }
    if (err == PF_Err_NONE) {
        err = GetRampEditorColors(in_data, out_data, canvas->colours);
    }
    return err;
}

// err, or next when err is PF_Err_NONE.
PF_Err FirstError(PF_Err err, PF_Err next) {
    return err != PF_Err_NONE ? err : next;
}

// The layout the curve image is made in: ARGB when the supplier prefers and supports it, else
// BGRA when it prefers and supports that; anything else fails with kDrawFailed. A query's own
// failure stands when its answer was yes.
PF_Err ChoosePixelLayout(const Canvas& canvas, DRAWBOT_PixelLayout* layout) {
    const DRAWBOT_SupplierSuite1* suite = canvas.drawbot.supplierSuite;
    const DRAWBOT_SupplierRef supplier = canvas.supplier;
    A_Boolean prefersARGB = 0;
    PF_Err err = suite->PrefersPixelLayoutARGB(supplier, &prefersARGB);
    if (prefersARGB != 0) {
        A_Boolean supportsARGB = 0;
        if (err == PF_Err_NONE) {
            err = suite->SupportsPixelLayoutARGB(supplier, &supportsARGB);
        }
        if (supportsARGB != 0) {
            *layout = kDRAWBOT_PixelLayout_32RGB;
            return err;
        }
        return kDrawFailed;
    }
    if (err != PF_Err_NONE) {
        return kDrawFailed;
    }
    A_Boolean prefersBGRA = 0;
    err = suite->PrefersPixelLayoutBGRA(supplier, &prefersBGRA);
    if (prefersBGRA == 0) {
        return kDrawFailed;
    }
    A_Boolean supportsBGRA = 0;
    if (err == PF_Err_NONE) {
        err = suite->SupportsPixelLayoutBGRA(supplier, &supportsBGRA);
    }
    if (supportsBGRA == 0) {
        return kDrawFailed;
    }
    *layout = kDRAWBOT_PixelLayout_32BGR;
    return err;
}

uint8_t ChannelByte(float channel) {
    const double scaled = std::trunc(channel * 255.0);
    if (!(scaled > 0.0)) {
        return 0;
    }
    return scaled >= 255.0 ? 255 : static_cast<uint8_t>(scaled);
}

// A colour's four bytes in the layout's order, alpha 255.
struct PixelBytes {
    uint8_t bytes[4];
};

PixelBytes BytesOf(const DRAWBOT_ColorRGBA& colour, DRAWBOT_PixelLayout layout) {
    const uint8_t r = ChannelByte(colour.red);
    const uint8_t g = ChannelByte(colour.green);
    const uint8_t b = ChannelByte(colour.blue);
    if (layout == kDRAWBOT_PixelLayout_32RGB) {
        return PixelBytes{{255, r, g, b}};
    }
    return PixelBytes{{b, g, r, 255}};
}

// The curve as a W x H image: for each column the row of the curve's value; above it the
// background, on it the curve colour, below it the plot's lower colour.
void FillCurveImage(const Ramp& ramp, const RampPlot& plot, DRAWBOT_PixelLayout layout,
                    const DRAWBOT_ColorRGBA colours[], uint8_t* pixels) {
    const auto width = static_cast<size_t>(plot.width);
    const auto height = static_cast<int64_t>(plot.height);
    std::vector<int64_t> curveRows(width);
    for (size_t i = 0; i < width; ++i) {
        const float p = ramp.Evaluate(static_cast<float>(i) / static_cast<float>(plot.width));
        int64_t row = TruncateToInt32((1.0f - p) * static_cast<float>(plot.height));
        row = row < height - 1 ? row : height - 1;
        curveRows[i] = row > 0 ? row : 0;
    }
    const PixelBytes above = BytesOf(colours[kBackground], layout);
    const PixelBytes curve = BytesOf(colours[kCurve], layout);
    const PixelBytes below = BytesOf(colours[kBelowCurve], layout);
    for (int64_t y = 0; y < height; ++y) {
        uint8_t* row = pixels + static_cast<size_t>(y) * width * 4;
        for (size_t i = 0; i < width; ++i) {
            const PixelBytes& source = y < curveRows[i] ? above : y == curveRows[i] ? curve : below;
            std::copy(source.bytes, source.bytes + 4, row + i * 4);
        }
    }
}

DRAWBOT_RectF32 Rect(double left, double top, double width, double height) {
    return DRAWBOT_RectF32{static_cast<float>(left), static_cast<float>(top),
                           static_cast<float>(width), static_cast<float>(height)};
}

// The whole frame in the background colour, with a path and a brush that the caller gives
// back.
PF_Err FillBackground(const Canvas& canvas, const PF_Rect& frame,
                      SharedRefImpl<DRAWBOT_PathRef>* path,
                      SharedRefImpl<DRAWBOT_BrushRef>* brush) {
    const DRAWBOT_SupplierSuite1* supplierSuite = canvas.drawbot.supplierSuite;
    PF_Err err = Made(supplierSuite->NewPath(canvas.supplier, &path->ref), &path->ref);
    if (err == PF_Err_NONE) {
        err = Made(
            supplierSuite->NewBrush(canvas.supplier, &canvas.colours[kBackground], &brush->ref),
            &brush->ref);
    }
    if (err == PF_Err_NONE) {
        const DRAWBOT_RectF32 whole =
            Rect(frame.left + 0.5, frame.top + 0.5, double(int64_t{frame.right} - frame.left),
                 double(int64_t{frame.bottom} - frame.top));
        err = canvas.drawbot.pathSuite->AddRect(path->ref, &whole);
    }
    if (err == PF_Err_NONE) {
        err = canvas.drawbot.surfaceSuite->FillPath(canvas.surface, brush->ref, path->ref,
                                                    kDRAWBOT_FillType_Winding);
    }
    return err;
}

// The curve image and the host memory it is made from, kept until the drawing gives them
// back.
struct CurveImage {
    OwnedHandle pixels;
    SharedRefImpl<DRAWBOT_ImageRef> image;
};

// The curve as one raster image, one value per pixel column, drawn at the plot's origin.
PF_Err DrawCurveImage(const Canvas& canvas, const LockedHandle& locked, const RampPlot& plot,
                      DRAWBOT_PixelLayout layout, CurveImage* curve) {
    // Row bytes must fit the supplier's int.
    if (plot.width > std::numeric_limits<int>::max() / 4 ||
        plot.height > std::numeric_limits<int>::max()) {
        return kDrawFailed;
    }
    NewLockedHandle pixels(
        &canvas.suites, static_cast<uint64_t>(plot.width) * static_cast<uint64_t>(plot.height) * 4);
    PF_Err err = pixels.Failure(kDrawFailed, kDrawFailed);
    if (err == PF_Err_NONE) {
        auto* bytes = static_cast<uint8_t*>(pixels.Memory());
        FillCurveImage(RampIn(locked), plot, layout, canvas.colours, bytes);
        err = Made(canvas.drawbot.supplierSuite->NewImageFromBuffer(
                       canvas.supplier, static_cast<int>(plot.width), static_cast<int>(plot.height),
                       static_cast<int>(plot.width * 4), layout, bytes, &curve->image.ref),
                   &curve->image.ref);
    }
    // Unlocked once the image is made; the memory is disposed only after the image is given
    // back.
    pixels.locked.reset();
    curve->pixels = std::move(pixels.owned);
    if (err == PF_Err_NONE) {
        const DRAWBOT_PointF32 origin = {static_cast<float>(plot.left),
                                         static_cast<float>(plot.top)};
        err =
            canvas.drawbot.surfaceSuite->DrawImage(canvas.surface, curve->image.ref, &origin, 1.0f);
    }
    return err;
}

// Outlines rect along path with pen, unless the drawing has already failed with err.
PF_Err StrokeRect(const Canvas& canvas, const DRAWBOT_PenP& pen, const DRAWBOT_PathP& path,
                  const DRAWBOT_RectF32& rect, PF_Err err) {
    if (err == PF_Err_NONE) {
        err = canvas.drawbot.pathSuite->AddRect(path.Get(), &rect);
    }
    if (err == PF_Err_NONE) {
        err = canvas.drawbot.surfaceSuite->StrokePath(canvas.surface, pen.Get(), path.Get());
    }
    return err;
}

// A square around each key point, centred on its pixel, each on a path of its own.
PF_Err DrawKeySquares(const Canvas& canvas, const Ramp& ramp, const RampPlot& plot,
                      const DRAWBOT_PenP& pen, PF_Err err) {
    for (const auto& [t, p] : *ramp.points) {
        const float cx =
            std::round(static_cast<float>(plot.width) * t) + static_cast<float>(plot.left) + 0.5f;
        const float cy = std::round((1.0f - p) * static_cast<float>(plot.height)) +
                         static_cast<float>(plot.top) + 0.5f;
        const DRAWBOT_PathP path(canvas.drawbot.supplierSuite, canvas.supplier);
        err = StrokeRect(canvas, pen, path,
                         {cx - kKeyHalfSize, cy - kKeyHalfSize, kKeySize, kKeySize}, err);
    }
    return err;
}

// Everything drawn inside the control: background, curve image, plot outline and key points.
// Pens and paths are made even after a failure, which then skips only the drawing calls.
PF_Err DrawPlot(const Canvas& canvas, const LockedHandle& locked, const RampPlot& plot) {
    const DRAWBOT_SupplierSuite1* supplierSuite = canvas.drawbot.supplierSuite;
    SharedRefImpl<DRAWBOT_PathRef> backgroundPath(supplierSuite);
    SharedRefImpl<DRAWBOT_BrushRef> brush(supplierSuite);
    PF_Err err = FillBackground(canvas, plot.frame, &backgroundPath, &brush);

    DRAWBOT_PixelLayout layout = kDRAWBOT_PixelLayout_32BGR;
    err = err != PF_Err_NONE ? kDrawFailed : ChoosePixelLayout(canvas, &layout);

    CurveImage curve{OwnedHandle(), SharedRefImpl<DRAWBOT_ImageRef>(supplierSuite)};
    if (plot.HasArea() && err == PF_Err_NONE) {
        err = DrawCurveImage(canvas, locked, plot, layout, &curve);
    }

    // The plot's outline, one pixel outside it.
    const DRAWBOT_PenP outlinePen(supplierSuite, canvas.supplier, &canvas.colours[kOutline],
                                  kPenSize);
    const DRAWBOT_PathP outlinePath(supplierSuite, canvas.supplier);
    err = StrokeRect(canvas, outlinePen, outlinePath,
                     Rect(double(plot.left - 1), double(plot.top - 1), double(plot.width + 2),
                          double(plot.height + 2)),
                     err);

    const DRAWBOT_PenP keyPen(supplierSuite, canvas.supplier, &canvas.colours[kKeyOutline],
                              kPenSize);
    err = DrawKeySquares(canvas, RampIn(locked), plot, keyPen, err);

    // These go back before the key pen, the outline path and the outline pen, which their
    // owners give back at the end of the scope in that order.
    err = FirstError(err, curve.image.Release());
    curve.pixels.Dispose();
    err = FirstError(err, brush.Release());
    return FirstError(err, backgroundPath.Release());
}

}  // namespace

PF_Err DrawRampEditor(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[], PF_LayerDef*,
                      PF_EventExtra* extra) {
    SuiteHandler suites(in_data->pica_basicP);
    LockedHandle locked(&suites, RampValueHandle(in_data, params, extra));
    Canvas canvas{suites, {}, nullptr, nullptr, {}};
    PF_Err err = AcquireDrawbotSuites(suites, in_data, out_data, &canvas.drawbot);
    DRAWBOT_DrawRef drawRef = nullptr;
    if (err == PF_Err_NONE) {
        err = GetDrawingReference(suites, in_data, out_data, extra, &drawRef);
    }
    // A context without anything to draw on is drawn as nothing.
    if (err == PF_Err_NONE && drawRef != nullptr) {
        err = PrepareCanvas(in_data, out_data, drawRef, &canvas);
    }
    if (extra->effect_win.area == PF_EA_CONTROL && (err != PF_Err_NONE || drawRef != nullptr)) {
        // Every failure before the plot is drawn is reported as kDrawFailed.
        err = err != PF_Err_NONE
                  ? kDrawFailed
                  : DrawPlot(canvas, locked, RampPlot::Of(extra->effect_win.current_frame));
    }
    ReleaseDrawbotSuites(suites);
    if (err == PF_Err_NONE) {
        extra->evt_out_flags = PF_EO_HANDLED_EVENT;
    }
    return err;
}
