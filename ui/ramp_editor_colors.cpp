#include "shell/toolkit/aefx_suite.h"
#include "shell/toolkit/app_colours.h"
#include "ui/ramp_editor.h"

namespace {

// The host's colour types of entries 1 to 4 (entry 0 is the background colour).
constexpr PF_App_ColorType kEditorColorTypes[kRampEditorColorCount - 1] = {2, 55, 1, 1002};

}  // namespace

PF_Err GetRampEditorColors(PF_InData* in_data, PF_OutData* out_data,
                           DRAWBOT_ColorRGBA colours[kRampEditorColorCount]) {
    const void* table = nullptr;
    PF_Err err =
        AEFX_AcquireSuite(in_data, out_data, kPFAppSuite, kPFAppSuiteVersion6, nullptr, &table);
    if (err == PF_Err_NONE && table != nullptr) {
        const auto* app = static_cast<const PF_AppSuite6*>(table);
        PF_App_Color colour = {0, 0, 0};
        err = app->PF_AppGetBgColor(&colour);
        if (err == PF_Err_NONE) {
            colours[0] = FromAppColor(colour);
        }
        for (int i = 1; i < kRampEditorColorCount && err == PF_Err_NONE; ++i) {
            err = app->PF_AppGetColor(kEditorColorTypes[i - 1], &colour);
            if (err == PF_Err_NONE) {
                colours[i] = FromAppColor(colour);
            }
        }
    }
    if (table != nullptr) {
        const PF_Err released =
            AEFX_ReleaseSuite(in_data, out_data, kPFAppSuite, kPFAppSuiteVersion6, nullptr);
        if (err == PF_Err_NONE) {
            err = released;
        }
    }
    return err;
}
