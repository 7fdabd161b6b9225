#include "shell/toolkit/app_colours.h"
#include "shell/toolkit/suite_handler.h"
#include "ui/ramp_editor.h"

namespace {

// The host's colour types of entries 1 to 4 (entry 0 is the background colour).
constexpr PF_App_ColorType kEditorColorTypes[kRampEditorColorCount - 1] = {2, 55, 1, 1002};

}  // namespace

PF_Err GetRampEditorColors(PF_InData* in_data, PF_OutData* out_data,
                           DRAWBOT_ColorRGBA colours[kRampEditorColorCount]) {
    // The App suite is held for these calls only.
    SuiteHandler suites(in_data->pica_basicP);
    const PF_AppSuite6* app = suites.AcquireAnnounced<SuiteSlot::AEAppSuite6>(in_data, out_data);
    if (app == nullptr) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    PF_App_Color colour = {0, 0, 0};
    PF_Err err = app->PF_AppGetBgColor(&colour);
    if (err == PF_Err_NONE) {
        colours[0] = FromAppColor(colour);
    }
    for (int i = 1; i < kRampEditorColorCount && err == PF_Err_NONE; ++i) {
        err = app->PF_AppGetColor(kEditorColorTypes[i - 1], &colour);
        if (err == PF_Err_NONE) {
            colours[i] = FromAppColor(colour);
        }
    }
    return err;
}
