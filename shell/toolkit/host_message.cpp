#include "shell/toolkit/host_message.h"

#include <cstdio>
#include <cstring>

void PostErrorMessage(const PF_InData* in_data, PF_OutData* out_data, const char* text) {
    // The host's sprintf knows nothing of the buffer's size: hand it at most what fits.
    char bounded[PF_MAX_EFFECT_MSG_LEN + 1];
    std::snprintf(bounded, sizeof(bounded), "%s", text);
    if (in_data->utils != nullptr && in_data->utils->ansi.sprintf != nullptr) {
        in_data->utils->ansi.sprintf(out_data->return_msg, "%s", bounded);
    } else {
        std::memcpy(out_data->return_msg, bounded, sizeof(bounded));
    }
    out_data->out_flags |= PF_OutFlag_DISPLAY_ERROR_MESSAGE;
}
