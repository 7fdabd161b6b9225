#pragma once

#include "host_api/effect.h"

// The first pre-filter of EffectMain: every event of the composition and layer windows is
// taken here (true: the command is finished), and on a drawing event with "Show Masks
// Names" on the names are drawn. Anything else goes on (false). Failures of the drawing pass
// through as thrown.
bool FilterCompWindowEvent(PF_Cmd cmd, PF_InData* in_data, PF_OutData* out_data,
                           PF_ParamDef* params[], PF_LayerDef* output, void* extra);

// Draws the name of every mask of the effect's layer in the mask's colour next to the first
// vertex of its outline, into the window of a drawing event, and marks the event handled.
// A failing host call is raised as Exception with its code.
void DrawMaskNames(PF_InData* in_data, PF_EventExtra* extra);

// A layer coordinate as the host's 16.16 fixed-point value, halves away from zero; values
// beyond the fixed-point range stop at its ends, and a NaN is 0.
PF_Fixed FixedFromCoordinate(double value);
