#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "ramp/ramp.h"
#include "shell/toolkit/aefx_suite.h"
#include "shell/toolkit/drawbot_suites.h"
#include "shell/toolkit/locked_handle.h"
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

// A call's result, where one that reports success but hands out no object has failed all the
// same. made is where the call put the object, read only once the call has returned.
template <typename Ref>
PF_Err Made(PF_Err err, const Ref* made) {
    return err == PF_Err_NONE && *made == nullptr ? kDrawFailed : err;
}

// The Drawbot suites of one drawing: released at the end of the scope when the drawing did
// not release them itself (an exception passing).
class HeldDrawbotSuites {
  public:
    HeldDrawbotSuites(PF_InData* in_data, PF_OutData* out_data)
        : in_data_(in_data), out_data_(out_data) {}
    HeldDrawbotSuites(const HeldDrawbotSuites&) = delete;
    HeldDrawbotSuites& operator=(const HeldDrawbotSuites&) = delete;
    ~HeldDrawbotSuites() { AEFX_ReleaseDrawbotSuites(in_data_, out_data_, &suites); }

    PF_Err Acquire() { return AEFX_AcquireDrawbotSuites(in_data_, out_data_, &suites); }
    PF_Err Release() { return AEFX_ReleaseDrawbotSuites(in_data_, out_data_, &suites); }

    DrawbotSuites suites = {};

  private:
    PF_InData* in_data_;
    PF_OutData* out_data_;
};

// What the drawing holds as plain references: the background brush and path, the curve image
// and its pixel handle. Release gives them back in that order of need (image, pixels, brush,
// path); whatever is still held when the scope ends is given back without a word.
class PlotObjects {
  public:
    PlotObjects(const DRAWBOT_SupplierSuite1* supplierSuite, const PF_HandleSuite2* handleSuite)
        : supplierSuite_(supplierSuite), handleSuite_(handleSuite) {}
    PlotObjects(const PlotObjects&) = delete;
    PlotObjects& operator=(const PlotObjects&) = delete;
    ~PlotObjects() {
        PF_Err ignored = PF_Err_NONE;
        Release(&ignored);
    }

    // A failure sets *err only when it is still PF_Err_NONE.
    void Release(PF_Err* err) {
        ReleaseObject(reinterpret_cast<DRAWBOT_ObjectRef>(image), err);
        image = nullptr;
        if (pixels != nullptr) {
            handleSuite_->host_dispose_handle(pixels);
            pixels = nullptr;
        }
        ReleaseObject(reinterpret_cast<DRAWBOT_ObjectRef>(brush), err);
        brush = nullptr;
        ReleaseObject(reinterpret_cast<DRAWBOT_ObjectRef>(backgroundPath), err);
        backgroundPath = nullptr;
    }

    DRAWBOT_BrushRef brush = nullptr;
    DRAWBOT_PathRef backgroundPath = nullptr;
    DRAWBOT_ImageRef image = nullptr;
    PF_Handle pixels = nullptr;

  private:
    void ReleaseObject(DRAWBOT_ObjectRef object, PF_Err* err) {
        if (object != nullptr) {
            const PF_Err released = supplierSuite_->ReleaseObject(object);
            if (*err == PF_Err_NONE) {
                *err = released;
            }
        }
    }

    const DRAWBOT_SupplierSuite1* supplierSuite_;
    const PF_HandleSuite2* handleSuite_;
};

// The layout the curve image is made in: ARGB when the supplier prefers and supports it, else
// BGRA when it prefers and supports that; anything else fails with kDrawFailed. A query's own
// failure stands when its answer was yes.
PF_Err ChoosePixelLayout(const DRAWBOT_SupplierSuite1* suite, DRAWBOT_SupplierRef supplier,
                         DRAWBOT_PixelLayout* layout) {
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

// Everything drawn inside the control: background, curve image, plot outline and key points.
PF_Err DrawPlot(SuiteHandler& suites, const LockedHandle& locked, const DrawbotSuites& drawbot,
                DRAWBOT_SupplierRef supplier, DRAWBOT_SurfaceRef surface,
                const DRAWBOT_ColorRGBA colours[], const RampPlot& plot) {
    const DRAWBOT_SupplierSuite1* supplierSuite = drawbot.supplierSuite;
    const DRAWBOT_SurfaceSuite2* surfaceSuite = drawbot.surfaceSuite;
    const DRAWBOT_PathSuite1* pathSuite = drawbot.pathSuite;
    const PF_HandleSuite2* handleSuite = suites.HandleSuite2();
    const PF_Rect& frame = plot.frame;
    PF_Err err = PF_Err_NONE;
    PlotObjects objects(supplierSuite, handleSuite);

    // The whole frame in the background colour.
    err = Made(supplierSuite->NewPath(supplier, &objects.backgroundPath), &objects.backgroundPath);
    if (err == PF_Err_NONE) {
        err = Made(supplierSuite->NewBrush(supplier, &colours[kBackground], &objects.brush),
                   &objects.brush);
    }
    if (err == PF_Err_NONE) {
        const DRAWBOT_RectF32 whole =
            Rect(frame.left + 0.5, frame.top + 0.5, double(int64_t{frame.right} - frame.left),
                 double(int64_t{frame.bottom} - frame.top));
        err = pathSuite->AddRect(objects.backgroundPath, &whole);
    }
    if (err == PF_Err_NONE) {
        err = surfaceSuite->FillPath(surface, objects.brush, objects.backgroundPath,
                                     kDRAWBOT_FillType_Winding);
    }

    DRAWBOT_PixelLayout layout = kDRAWBOT_PixelLayout_32BGR;
    err = err != PF_Err_NONE ? kDrawFailed : ChoosePixelLayout(supplierSuite, supplier, &layout);

    // The curve: one raster image, one value per pixel column. Row bytes must fit the
    // supplier's int.
    if (plot.HasArea() && err == PF_Err_NONE) {
        if (plot.width > std::numeric_limits<int>::max() / 4 ||
            plot.height > std::numeric_limits<int>::max()) {
            err = kDrawFailed;
        } else {
            objects.pixels = handleSuite->host_new_handle(static_cast<uint64_t>(plot.width) *
                                                          static_cast<uint64_t>(plot.height) * 4);
            err = objects.pixels == nullptr ? kDrawFailed : PF_Err_NONE;
        }
        if (err == PF_Err_NONE) {
            LockedHandle pixels(&suites, objects.pixels);
            if (pixels.ptr == nullptr) {
                err = kDrawFailed;
            } else {
                FillCurveImage(RampIn(locked), plot, layout, colours,
                               static_cast<uint8_t*>(pixels.ptr));
                err = Made(supplierSuite->NewImageFromBuffer(
                               supplier, static_cast<int>(plot.width),
                               static_cast<int>(plot.height), static_cast<int>(plot.width * 4),
                               layout, pixels.ptr, &objects.image),
                           &objects.image);
            }
        }
        if (err == PF_Err_NONE) {
            const DRAWBOT_PointF32 origin = {static_cast<float>(plot.left),
                                             static_cast<float>(plot.top)};
            err = surfaceSuite->DrawImage(surface, objects.image, &origin, 1.0f);
        }
    }

    // The plot's outline, one pixel outside it.
    DRAWBOT_PenP outlinePen(supplierSuite, supplier, &colours[kOutline], kPenSize);
    DRAWBOT_PathP outlinePath(supplierSuite, supplier);
    if (err == PF_Err_NONE) {
        const DRAWBOT_RectF32 outline = Rect(double(plot.left - 1), double(plot.top - 1),
                                             double(plot.width + 2), double(plot.height + 2));
        err = pathSuite->AddRect(outlinePath.Get(), &outline);
    }
    if (err == PF_Err_NONE) {
        err = surfaceSuite->StrokePath(surface, outlinePen.Get(), outlinePath.Get());
    }

    // A square around each key point, centred on its pixel.
    DRAWBOT_PenP keyPen(supplierSuite, supplier, &colours[kKeyOutline], kPenSize);
    const Ramp& ramp = RampIn(locked);
    for (const auto& [t, p] : *ramp.points) {
        const float cx =
            std::round(static_cast<float>(plot.width) * t) + static_cast<float>(plot.left) + 0.5f;
        const float cy = std::round((1.0f - p) * static_cast<float>(plot.height)) +
                         static_cast<float>(plot.top) + 0.5f;
        DRAWBOT_PathP keyPath(supplierSuite, supplier);
        if (err == PF_Err_NONE) {
            const DRAWBOT_RectF32 square = {cx - kKeyHalfSize, cy - kKeyHalfSize, kKeySize,
                                            kKeySize};
            err = pathSuite->AddRect(keyPath.Get(), &square);
        }
        if (err == PF_Err_NONE) {
            err = surfaceSuite->StrokePath(surface, keyPen.Get(), keyPath.Get());
        }
    }

    objects.Release(&err);
    return err;
}

}  // namespace

PF_Err DrawRampEditor(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[], PF_LayerDef*,
                      PF_EventExtra* extra) {
    SuiteHandler suites(in_data->pica_basicP);
    LockedHandle locked(&suites, RampValueHandle(in_data, params, extra));
    HeldDrawbotSuites drawbot(in_data, out_data);
    PF_Err err = drawbot.Acquire();

    DRAWBOT_DrawRef drawRef = nullptr;
    if (err == PF_Err_NONE) {
        const void* customUi = nullptr;
        err = AEFX_AcquireSuite(in_data, out_data, kPFEffectCustomUISuite,
                                kPFEffectCustomUISuiteVersion1, nullptr, &customUi);
        if (customUi != nullptr) {
            err = static_cast<const PF_EffectCustomUISuite1*>(customUi)->PF_GetDrawingReference(
                extra->contextH, &drawRef);
            AEFX_ReleaseSuite(in_data, out_data, kPFEffectCustomUISuite,
                              kPFEffectCustomUISuiteVersion1, nullptr);
        }
    }
    // A context without anything to draw on is drawn as nothing.
    const bool drawable = err != PF_Err_NONE || drawRef != nullptr;
    DRAWBOT_SupplierRef supplier = nullptr;
    DRAWBOT_SurfaceRef surface = nullptr;
    DRAWBOT_ColorRGBA colours[kRampEditorColorCount] = {};
    if (drawable) {
        if (err == PF_Err_NONE) {
            err = Made(drawbot.suites.drawSuite->GetSupplier(drawRef, &supplier), &supplier);
        }
        if (err == PF_Err_NONE) {
            err = Made(drawbot.suites.drawSuite->GetSurface(drawRef, &surface), &surface);
        }
        if (err == PF_Err_NONE) {
            err = GetRampEditorColors(in_data, out_data, colours);
        }
        if (extra->effect_win.area == PF_EA_CONTROL) {
            if (err != PF_Err_NONE) {
                err = kDrawFailed;
            } else {
                err = DrawPlot(suites, locked, drawbot.suites, supplier, surface, colours,
                               RampPlot::Of(extra->effect_win.current_frame));
            }
        }
    }
    const PF_Err released = drawbot.Release();
    if (err == PF_Err_NONE) {
        err = released;
    }
    if (err == PF_Err_NONE) {
        extra->evt_out_flags = PF_EO_HANDLED_EVENT;
    }
    return err;
}
