#include "host/frame_suites.h"

#include <map>
#include <mutex>

#include "host/frame_hooks.h"
#include "host/pixel_access.h"

namespace quorvel::host {

namespace {

struct AppColors {
    std::mutex mutex;
    PF_App_Color background = {0x2A2A, 0x2A2A, 0x2A2A};
    std::map<PF_App_ColorType, PF_App_Color> byType = {{2, {0xE8E8, 0xB0B0, 0x1010}}};
};

AppColors& Colors() {
    static AppColors colors;
    return colors;
}

PF_Err AppGetBgColor(PF_App_Color* color) {
    const PF_Err fault = FaultFor("PF_AppGetBgColor").code;
    if (fault != PF_Err_NONE || color == nullptr) {
        return color == nullptr ? PF_Err_BAD_CALLBACK_PARAM : fault;
    }
    std::lock_guard<std::mutex> lock(Colors().mutex);
    *color = Colors().background;
    return PF_Err_NONE;
}

PF_Err AppGetColor(PF_App_ColorType type, PF_App_Color* color) {
    const PF_Err fault = FaultFor("PF_AppGetColor").code;
    if (fault != PF_Err_NONE || color == nullptr) {
        return color == nullptr ? PF_Err_BAD_CALLBACK_PARAM : fault;
    }
    std::lock_guard<std::mutex> lock(Colors().mutex);
    const auto found = Colors().byType.find(type);
    *color = found != Colors().byType.end() ? found->second : PF_App_Color{0x8000, 0x8000, 0x8000};
    return PF_Err_NONE;
}

// Worlds are made by the host itself, never through the suite.
PF_Err NewWorldRefused(PF_ProgPtr, A_long, A_long, PF_Boolean, PF_PixelFormat, PF_EffectWorld*) {
    return PF_Err_BAD_CALLBACK_PARAM;
}
PF_Err DisposeWorldRefused(PF_ProgPtr, PF_EffectWorld*) { return PF_Err_BAD_CALLBACK_PARAM; }

}  // namespace

const PF_WorldSuite2* WorldSuite2() {
    static const PF_WorldSuite2 suite = {NewWorldRefused, DisposeWorldRefused, GetPixelFormat};
    return &suite;
}

const PF_PixelDataSuite1* PixelDataSuite1() {
    static const PF_PixelDataSuite1 suite = {GetPixelData8, GetPixelData16, GetPixelDataFloat};
    return &suite;
}

const PF_iterateFloatSuite1* IterateFloatSuite1() {
    static const PF_iterateFloatSuite1 suite = {IterateFloat};
    return &suite;
}

const PF_AppSuite6* AppSuite6() {
    static const PF_AppSuite6 suite = {AppGetBgColor, AppGetColor};
    return &suite;
}

void SetAppBackgroundColor(const PF_App_Color& color) {
    std::lock_guard<std::mutex> lock(Colors().mutex);
    Colors().background = color;
}

void SetAppColor(PF_App_ColorType type, const PF_App_Color& color) {
    std::lock_guard<std::mutex> lock(Colors().mutex);
    Colors().byType[type] = color;
}

}  // namespace quorvel::host
