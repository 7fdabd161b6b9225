#pragma once

#include <cairo.h>

#include <cstdint>
#include <string>

#include "host_api/drawbot.h"

namespace quorvel::host {

// What a window's Drawbot supplier tells about itself: the pixel layouts it prefers and
// supports for images made from buffers, and its default font size. A supplier that neither
// prefers nor supports a layout is a valid host too.
struct DrawbotSupplierSettings {
    bool prefersARGB = false;
    bool supportsARGB = true;
    bool prefersBGRA = true;
    bool supportsBGRA = true;
    float defaultFontSize = 10.0f;
};

// One straight (not premultiplied) pixel of a canvas.
struct CanvasPixel {
    uint8_t red, green, blue, alpha;
};

// The drawing target of one window: a Cairo image surface with the window's supplier. The
// window's drawing reference, supplier and surface are borrowed references into it (the host
// never counts them); they stay valid while the canvas lives. Lives inside a Host.
class DrawbotCanvas {
  public:
    DrawbotCanvas(int width, int height, const DrawbotSupplierSettings& settings = {});
    ~DrawbotCanvas();
    DrawbotCanvas(const DrawbotCanvas&) = delete;
    DrawbotCanvas& operator=(const DrawbotCanvas&) = delete;

    DRAWBOT_DrawRef DrawRef() { return reinterpret_cast<DRAWBOT_DrawRef>(&draw_); }
    DRAWBOT_SupplierRef SupplierRef() { return reinterpret_cast<DRAWBOT_SupplierRef>(&supplier_); }
    DRAWBOT_SurfaceRef SurfaceRef() { return reinterpret_cast<DRAWBOT_SurfaceRef>(&surface_); }

    // The canvas behind a reference that one of the canvases alive handed out; null for
    // anything else.
    static DrawbotCanvas* FromDraw(DRAWBOT_DrawRef ref);
    static DrawbotCanvas* FromSupplier(DRAWBOT_SupplierRef ref);
    static DrawbotCanvas* FromSurface(DRAWBOT_SurfaceRef ref);

    int Width() const { return width_; }
    int Height() const { return height_; }
    DrawbotSupplierSettings& settings() { return settings_; }
    cairo_t* Context() { return cairo_; }

    // Paints the whole canvas in one opaque colour (8-bit channels).
    void Clear(uint8_t red, uint8_t green, uint8_t blue);
    // The pixel at (x, y); all zero outside the canvas.
    CanvasPixel Pixel(int x, int y) const;
    // Writes the canvas to a PNG file; false when it cannot be written.
    bool WritePng(const std::string& path) const;

  private:
    // What a borrowed reference points at: which part of which canvas.
    struct Token {
        DrawbotCanvas* canvas;
    };

    int width_;
    int height_;
    DrawbotSupplierSettings settings_;
    cairo_surface_t* pixels_;
    cairo_t* cairo_;
    Token draw_;
    Token supplier_;
    Token surface_;
};

}  // namespace quorvel::host
