#include "ui/mask_names.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "host_api/drawbot.h"
#include "shell/toolkit/aegp_wrappers.h"
#include "shell/toolkit/errors.h"
#include "shell/toolkit/suite_handler.h"
#include "ui/drawbot_refs.h"

namespace {

// The names are drawn larger than the host's interface text.
constexpr float kFontFactor = 1.4f;
constexpr double kFixedOne = 65536.0;
constexpr double kFixedInverse = 1.0 / 65536.0;

void ThrowIfFailed(A_long err) {
    if (err != PF_Err_NONE) {
        throw Exception(err);
    }
}

// The name as the NUL-terminated text DrawString takes.
std::vector<DRAWBOT_UTF16Char> Terminated(const std::u16string& name) {
    std::vector<DRAWBOT_UTF16Char> text(name.begin(), name.end());
    text.push_back(0);
    return text;
}

// Where a layer point lands in the event's window, in fixed point: through the composition
// first in a composition window. The callbacks' results are not looked at; the point is
// used as they leave it.
PF_FixedPoint WindowPoint(const PF_InData* in_data, PF_EventExtra* extra, PF_WindowType window,
                          const AEGP_MaskVertex& vertex) {
    PF_FixedPoint point = {FixedFromCoordinate(vertex.x), FixedFromCoordinate(vertex.y)};
    if (window == PF_Window_COMP && extra->cbs.layer_to_comp != nullptr) {
        extra->cbs.layer_to_comp(extra->cbs.refcon, extra->contextH, in_data->current_time,
                                 static_cast<A_long>(in_data->time_scale), &point);
    }
    if (extra->cbs.source_to_frame != nullptr) {
        extra->cbs.source_to_frame(extra->cbs.refcon, extra->contextH, &point);
    }
    return point;
}

}  // namespace

PF_Fixed FixedFromCoordinate(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    const double scaled = value * kFixedOne + (value < 0 ? -0.5 : 0.5);
    if (scaled <= static_cast<double>(std::numeric_limits<PF_Fixed>::min())) {
        return std::numeric_limits<PF_Fixed>::min();
    }
    if (scaled >= static_cast<double>(std::numeric_limits<PF_Fixed>::max())) {
        return std::numeric_limits<PF_Fixed>::max();
    }
    return static_cast<PF_Fixed>(scaled);
}

void DrawMaskNames(PF_InData* in_data, PF_EventExtra* extra) {
    SuiteHandler suites(in_data->pica_basicP);
    DRAWBOT_DrawRef drawRef = nullptr;
    ThrowIfFailed(suites.EffectCustomUISuite1()->PF_GetDrawingReference(extra->contextH, &drawRef));
    if (drawRef != nullptr) {
        const DRAWBOT_DrawbotSuite1* drawSuite = suites.DRAWBOTDrawSuite1();
        const DRAWBOT_SupplierSuite1* supplierSuite = suites.DRAWBOTSupplierSuite1();
        const DRAWBOT_SurfaceSuite2* surfaceSuite = suites.DRAWBOTSurfaceSuite2();
        DRAWBOT_SurfaceRef surface = nullptr;
        ThrowIfNotMade<Exception>(drawSuite->GetSurface(drawRef, &surface), &surface);
        DRAWBOT_SupplierRef supplier = nullptr;
        ThrowIfNotMade<Exception>(drawSuite->GetSupplier(drawRef, &supplier), &supplier);

        float size = 0;
        ThrowIfFailed(supplierSuite->GetDefaultFontSize(supplier, &size));
        size *= kFontFactor;
        // Brush and font are given back by Release on the way through, whose failure is
        // raised, or without a word when an exception passes first.
        SharedRefImpl<DRAWBOT_FontRef> font(supplierSuite);
        ThrowIfNotMade<Exception>(supplierSuite->NewDefaultFont(supplier, size, &font.ref),
                                  &font.ref);

        const A_Time time = {in_data->current_time, in_data->time_scale};
        const PF_WindowType window = (*extra->contextH)->w_type;
        {
            AegpEffect effect(in_data);
            AegpLayer layer = effect.Layer();
            const A_long count = layer.MaskCount();
            for (A_long index = 0; index < count; ++index) {
                AegpMask mask = layer.Mask(index);
                const AEGP_ColorVal colour = mask.Color();
                AegpStream outline = mask.Stream(AEGP_MaskStream_OUTLINE);
                AegpStream group = outline.Parent();
                const std::u16string name = group.Name(false);
                AegpStreamValue value = outline.Value(AEGP_LTimeMode_LayerTime, &time, true);
                AegpMaskOutline shape = value.MaskOutline();
                if (shape.SegmentCount() == 0) {
                    continue;
                }
                const AEGP_MaskVertex vertex = shape.Vertex(0);

                const DRAWBOT_ColorRGBA rgba = {
                    static_cast<float>(colour.redF), static_cast<float>(colour.greenF),
                    static_cast<float>(colour.blueF), static_cast<float>(colour.alphaF)};
                SharedRefImpl<DRAWBOT_BrushRef> brush(supplierSuite);
                ThrowIfNotMade<Exception>(supplierSuite->NewBrush(supplier, &rgba, &brush.ref),
                                          &brush.ref);

                const PF_FixedPoint point = WindowPoint(in_data, extra, window, vertex);
                const DRAWBOT_PointF32 origin = {
                    static_cast<float>(point.x * kFixedInverse),
                    static_cast<float>(point.y * kFixedInverse - size * 0.5)};
                const std::vector<DRAWBOT_UTF16Char> text = Terminated(name);
                ThrowIfFailed(surfaceSuite->DrawString(surface, brush.ref, font.ref, text.data(),
                                                       &origin, kDRAWBOT_TextAlignment_Left,
                                                       kDRAWBOT_TextTruncation_None, 0.0f));
                ThrowIfFailed(brush.Release());
            }
            ThrowIfFailed(font.Release());
        }
    }
    extra->evt_out_flags = PF_EO_HANDLED_EVENT;
}
