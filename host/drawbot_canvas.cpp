#include "host/drawbot_canvas.h"

#include <algorithm>

#include "host/live_registry.h"

namespace quorvel::host {

namespace {

uint8_t Straight(uint8_t premultiplied, uint8_t alpha) {
    return alpha == 0 ? 0 : static_cast<uint8_t>((premultiplied * 255 + alpha / 2) / alpha);
}

}  // namespace

DrawbotCanvas::DrawbotCanvas(int width, int height, const DrawbotSupplierSettings& settings)
    : width_(std::max(width, 1)),
      height_(std::max(height, 1)),
      settings_(settings),
      pixels_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width_, height_)),
      cairo_(cairo_create(pixels_)),
      draw_{this},
      supplier_{this},
      surface_{this} {
    LiveRegistry<DrawbotCanvas>::Add(this);
}

DrawbotCanvas::~DrawbotCanvas() {
    LiveRegistry<DrawbotCanvas>::Remove(this);
    cairo_destroy(cairo_);
    cairo_surface_destroy(pixels_);
}

DrawbotCanvas* DrawbotCanvas::FromDraw(DRAWBOT_DrawRef ref) {
    return LiveRegistry<DrawbotCanvas>::Find(
        [ref](DrawbotCanvas& canvas) { return canvas.DrawRef() == ref; });
}

DrawbotCanvas* DrawbotCanvas::FromSupplier(DRAWBOT_SupplierRef ref) {
    return LiveRegistry<DrawbotCanvas>::Find(
        [ref](DrawbotCanvas& canvas) { return canvas.SupplierRef() == ref; });
}

DrawbotCanvas* DrawbotCanvas::FromSurface(DRAWBOT_SurfaceRef ref) {
    return LiveRegistry<DrawbotCanvas>::Find(
        [ref](DrawbotCanvas& canvas) { return canvas.SurfaceRef() == ref; });
}

void DrawbotCanvas::Clear(uint8_t red, uint8_t green, uint8_t blue) {
    cairo_save(cairo_);
    cairo_set_operator(cairo_, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_rgb(cairo_, red / 255.0, green / 255.0, blue / 255.0);
    cairo_paint(cairo_);
    cairo_restore(cairo_);
}

CanvasPixel DrawbotCanvas::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) {
        return CanvasPixel{0, 0, 0, 0};
    }
    cairo_surface_flush(pixels_);
    const unsigned char* row = cairo_image_surface_get_data(pixels_) +
                               static_cast<size_t>(y) * cairo_image_surface_get_stride(pixels_);
    // Cairo keeps premultiplied native-endian 32-bit words, A in the top byte.
    uint32_t word = 0;
    std::copy(row + x * 4, row + x * 4 + 4, reinterpret_cast<unsigned char*>(&word));
    const auto alpha = static_cast<uint8_t>(word >> 24);
    return CanvasPixel{Straight(static_cast<uint8_t>(word >> 16), alpha),
                       Straight(static_cast<uint8_t>(word >> 8), alpha),
                       Straight(static_cast<uint8_t>(word), alpha), alpha};
}

bool DrawbotCanvas::WritePng(const std::string& path) const {
    cairo_surface_flush(pixels_);
    return cairo_surface_write_to_png(pixels_, path.c_str()) == CAIRO_STATUS_SUCCESS;
}

}  // namespace quorvel::host
