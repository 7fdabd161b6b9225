#pragma once

#include "host_api/drawbot.h"
#include "host_api/effect.h"

// The ramp editors of the effect controls: each of the nine ramp parameters shows its curve
// in a graph that the user edits by dragging key points, double-clicking to add or remove
// one, and Ctrl-clicking to change the interpolation. The curve is edited in place in the
// parameter's value handle; the editor keeps nothing between events.

// PF_Cmd_EVENT of a ramp parameter's UI: a click (one that already asks for drags is a drag),
// a drag or a drawing; any other event does nothing.
PF_Err HandleRampEditorEvent(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
                             PF_LayerDef* output, PF_EventExtra* extra);

// Always PF_Err_NONE; failures are raised.
PF_Err RampEditorClick(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
                       PF_LayerDef* output, PF_EventExtra* extra);
PF_Err RampEditorDrag(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
                      PF_LayerDef* output, PF_EventExtra* extra);

// The first error met while drawing, PF_Err_NONE on success.
PF_Err DrawRampEditor(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
                      PF_LayerDef* output, PF_EventExtra* extra);

// The editor's colours from the host's interface: background, curve, key-point outline, the
// plot below the curve and the plot's outline. Stops at the first failing colour.
constexpr int kRampEditorColorCount = 5;
PF_Err GetRampEditorColors(PF_InData* in_data, PF_OutData* out_data,
                           DRAWBOT_ColorRGBA colours[kRampEditorColorCount]);
