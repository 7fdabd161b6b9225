#pragma once

#include "host_api/effect.h"

// Writes text into out_data->return_msg through the host's sprintf and sets
// PF_OutFlag_DISPLAY_ERROR_MESSAGE so that the host shows it. The text is passed as an
// argument, never as the format, and is cut to what the 256-byte message holds.
void PostErrorMessage(const PF_InData* in_data, PF_OutData* out_data, const char* text);
