#include "render/mask_path_id.h"

#include "shell/params/render_settings.h"
#include "shell/toolkit/errors.h"

PF_PathID MaskPathId(const RenderSettings& settings, int maskIndex) {
    switch (maskIndex) {
        case 0:
            return settings.mask1PathId;
        case 1:
            return settings.mask2PathId;
        default:
            throw ReportedAsOutOfMemory(PF_Err_INTERNAL_STRUCT_DAMAGED, "Unsupported param index");
    }
}
