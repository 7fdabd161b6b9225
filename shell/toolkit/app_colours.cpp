#include "shell/toolkit/app_colours.h"

namespace {

constexpr float kColorScale = 1.0f / 65535.0f;

}  // namespace

DRAWBOT_ColorRGBA FromAppColor(const PF_App_Color& colour) {
    return DRAWBOT_ColorRGBA{static_cast<float>(colour.red) * kColorScale,
                             static_cast<float>(colour.green) * kColorScale,
                             static_cast<float>(colour.blue) * kColorScale, 1.0f};
}
