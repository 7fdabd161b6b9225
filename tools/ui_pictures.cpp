// The pictures of the custom UI: what a person sees of the ramp editors and the mask names,
// drawn by the module through the replacement host's Drawbot into PNG files.
#include "tools/ui_pictures.h"

#include <cairo.h>

#include <cstdio>
#include <filesystem>
#include <initializer_list>
#include <vector>

#include "host/host.h"
#include "host/image_file.h"
#include "host/layer_masks.h"
#include "host/scene_file.h"
#include "host/scene_error.h"
#include "host/scene_render.h"
#include "host/ui_events.h"
#include "host/ui_window.h"
#include "shell/params/param_index.h"

namespace {

using quorvel::host::EffectControl;
using quorvel::host::Host;
using quorvel::host::UiEvent;
using quorvel::host::UiEvents;
using quorvel::host::UiWindow;

// The nine ramp parameters.
constexpr PF_ParamIndex kRampIndices[] = {4, 6, 13, 14, 31, 37, 45, 51, 62};

// A ramp control is 150 x 140 pixels; the window shows them three by three.
constexpr int kControlWidth = 150;
constexpr int kControlHeight = 140;
constexpr int kGap = 12;
constexpr int kColumns = 3;

// The frame of the n-th ramp control in the effect controls window.
PF_Rect ControlFrame(int n) {
    const int left = kGap + (n % kColumns) * (kControlWidth + kGap);
    const int top = kGap + (n / kColumns) * (kControlHeight + kGap);
    return PF_Rect{left, top, left + kControlWidth, top + kControlHeight};
}

bool Report(const char* what, const UiEvent& event) {
    if (event.command.err != PF_Err_NONE) {
        std::fprintf(stderr, "quorvel-render: %s failed with %d\n", what,
                     static_cast<int>(event.command.err));
        return false;
    }
    return true;
}

// Writes the window's picture; a picture that cannot be written is noted in unwritten, which
// the caller reports once the module is set down.
bool Write(const UiWindow& window, const std::string& path, std::string& unwritten) {
    if (!const_cast<UiWindow&>(window).canvas().WritePng(path)) {
        unwritten = path;
        return false;
    }
    std::printf("wrote %s\n", path.c_str());
    return true;
}

// The end of the pictures: 0 when all were drawn and written and nothing was left behind, 1
// when the module failed or left host objects; a picture not written is an image file error.
int Finish(Host& host, bool drawn, const std::string& unwritten) {
    if (!unwritten.empty()) {
        throw quorvel::host::ImageFileError("cannot write image '" + unwritten + "'");
    }
    if (!host.ledger().IsBalanced()) {
        std::fprintf(stderr, "quorvel-render: %s", host.ledger().Describe().c_str());
        return 1;
    }
    return drawn ? 0 : 1;
}

// "Show Masks Names" on, as the user ticks it.
bool TurnOnMaskNames(Host& host) {
    quorvel::host::ParamValue on;
    on.number = 1;
    return host.effect().parameters().SetValue(PARAM_SHOW_MASKS_NAMES, on) == PF_Err_NONE;
}

quorvel::host::LayerMask Mask(const char* name, AEGP_ColorVal colour,
                              std::initializer_list<AEGP_MaskVertex> vertices) {
    quorvel::host::LayerMask mask;
    mask.name = name;
    mask.colour = colour;
    mask.vertices = vertices;
    return mask;
}

// The host's own drawing of the layer and its mask outlines, under the effect's names.
void DrawLayerAndMasks(UiWindow& window, const std::vector<quorvel::host::LayerMask>& masks,
                       const LayerSize& size, bool composition) {
    const quorvel::host::UiView& view = window.view;
    const double scale = composition ? view.layerScale : 1.0;
    const double offsetX = composition ? view.layerX : 0.0;
    const double offsetY = composition ? view.layerY : 0.0;
    cairo_t* cr = window.canvas().Context();
    window.canvas().Clear(0x1E, 0x1E, 0x1E);
    cairo_save(cr);
    cairo_translate(cr, view.panX, view.panY);
    cairo_scale(cr, view.zoom, view.zoom);
    cairo_translate(cr, offsetX, offsetY);
    cairo_scale(cr, scale, scale);
    cairo_rectangle(cr, 0, 0, size.width, size.height);
    cairo_set_source_rgb(cr, 0.32, 0.36, 0.42);
    cairo_fill(cr);
    for (const quorvel::host::LayerMask& mask : masks) {
        const auto& v = mask.vertices;
        if (v.empty()) {
            continue;
        }
        cairo_new_path(cr);
        cairo_move_to(cr, v[0].x, v[0].y);
        const size_t segments = static_cast<size_t>(mask.SegmentCount());
        for (size_t i = 0; i < segments; ++i) {
            const AEGP_MaskVertex& from = v[i];
            const AEGP_MaskVertex& to = v[(i + 1) % v.size()];
            cairo_curve_to(cr, from.x + from.tan_out_x, from.y + from.tan_out_y, to.x + to.tan_in_x,
                           to.y + to.tan_in_y, to.x, to.y);
        }
        cairo_set_source_rgba(cr, mask.colour.redF, mask.colour.greenF, mask.colour.blueF, 1.0);
        cairo_set_line_width(cr, 1.5 / (view.zoom * scale));
        cairo_stroke(cr);
    }
    cairo_restore(cr);
}

bool SetsParameter(const quorvel::host::Scene& scene, const std::string& name) {
    for (const quorvel::host::SceneParameter& parameter : scene.parameters) {
        if (parameter.name == name) {
            return true;
        }
    }
    return false;
}

int DrawBuiltInPictures(const std::string& modulePath, const std::string& directory) {
    Host host(modulePath);
    if (host.Register() != PF_Err_NONE ||
        host.effect().Send(PF_Cmd_GLOBAL_SETUP).err != PF_Err_NONE) {
        std::fprintf(stderr, "quorvel-render: the module did not start\n");
        return 1;
    }
    // The ramp editors show the curves that the parameter set-up gives every ramp.
    bool ok = host.effect().Send(PF_Cmd_PARAMS_SETUP).err == PF_Err_NONE;
    std::vector<quorvel::host::LayerMask> masks = {
        Mask("Mask 1", {1, 1.0, 0.85, 0.2},
             {quorvel::host::MaskVertexAt(60, 70, 0, 0, 80, -40),
              quorvel::host::MaskVertexAt(240, 50, -60, -10, 60, 10),
              quorvel::host::MaskVertexAt(420, 90, -70, -30, 0, 0)}),
        Mask("Mask 2", {1, 0.3, 0.8, 1.0},
             {quorvel::host::MaskVertexAt(50, 210, 0, 0, 90, 40),
              quorvel::host::MaskVertexAt(250, 230, -60, 10, 60, -10),
              quorvel::host::MaskVertexAt(430, 190, -60, 20, 0, 0)})};
    for (quorvel::host::LayerMask& mask : masks) {
        mask.closed = false;
    }
    host.State<quorvel::host::LayerMasks>().Set(masks);
    std::string unwritten;
    ok = ok && TurnOnMaskNames(host) &&
         DrawPictures(host, LayerSize{480, 270}, directory, unwritten);
    host.effect().Send(PF_Cmd_GLOBAL_SETDOWN);
    return Finish(host, ok, unwritten);
}

int DrawScenePictures(const std::string& modulePath, const std::string& directory,
                      const std::string& scenePath) {
    quorvel::host::SceneRenderer renderer(modulePath, quorvel::host::LoadSceneFile(scenePath));
    Host& host = renderer.host();
    const quorvel::host::Scene& scene = renderer.scene();
    // The pictures are there to show the names: on unless the scene says otherwise.
    bool ok = SetsParameter(scene, "Show Masks Names") || TurnOnMaskNames(host);
    std::string unwritten;
    ok = ok && DrawPictures(host, LayerSize{scene.width, scene.height}, directory, unwritten);
    const PF_Err setDown = renderer.SetDown();
    if (setDown != PF_Err_NONE) {
        std::fprintf(stderr, "quorvel-render: the module's set-down failed with %d\n",
                     static_cast<int>(setDown));
        ok = false;
    }
    return Finish(host, ok, unwritten);
}

}  // namespace

bool DrawPictures(Host& host, const LayerSize& size, const std::string& directory,
                  std::string& unwritten) {
    const int rows = (9 + kColumns - 1) / kColumns;
    UiWindow controls(PF_Window_EFFECT, kGap + kColumns * (kControlWidth + kGap),
                      kGap + rows * (kControlHeight + kGap));
    controls.canvas().Clear(0x23, 0x23, 0x23);
    UiEvents events(host.effect(), controls);
    bool ok = true;
    for (int n = 0; n < 9 && ok; ++n) {
        const EffectControl control = {kRampIndices[n], ControlFrame(n)};
        ok = Report("drawing a ramp editor", events.Draw(&control));
    }
    ok = ok && Write(controls, directory + "/effect-controls.png", unwritten);

    // Both windows show the layer with a margin of a sixth of its size on every side.
    const std::vector<quorvel::host::LayerMask> masks =
        host.State<quorvel::host::LayerMasks>().Get();
    const int windowWidth = size.width * 4 / 3;
    const int windowHeight = size.height * 4 / 3;
    UiWindow composition(PF_Window_COMP, windowWidth, windowHeight);
    composition.view = quorvel::host::UiView{size.width / 6.0, size.height / 6.0, 1.0, 1.0, 0, 0};
    DrawLayerAndMasks(composition, masks, size, true);
    ok = ok && Report("drawing the mask names", UiEvents(host.effect(), composition).Draw());
    ok = ok && Write(composition, directory + "/composition.png", unwritten);

    UiWindow layer(PF_Window_LAYER, windowWidth, windowHeight);
    layer.view = quorvel::host::UiView{0, 0, 1.0, 1.25, size.width / 24.0, size.height / 27.0};
    DrawLayerAndMasks(layer, masks, size, false);
    ok = ok && Report("drawing the mask names", UiEvents(host.effect(), layer).Draw());
    return ok && Write(layer, directory + "/layer.png", unwritten);
}

int DrawUiPictures(const std::string& modulePath, const std::string& directory,
                   const std::string& scenePath) {
    std::error_code error;
    if (!std::filesystem::is_directory(directory, error)) {
        throw quorvel::host::SceneError("the output folder " + directory + " does not exist");
    }
    return scenePath.empty() ? DrawBuiltInPictures(modulePath, directory)
                             : DrawScenePictures(modulePath, directory, scenePath);
}
