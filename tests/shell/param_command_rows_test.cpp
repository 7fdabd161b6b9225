// The rows of HandleParamCommands that the ramp editor, the ramp callbacks and the parameter
// set-up plug into, with stand-ins for those handlers.
#include <gtest/gtest.h>

#include "shell/param_command_rows.h"
#include "shell/toolkit/failure_conversion.h"

namespace {

int editorCalls = 0;
PF_Err editorResult = PF_Err_NONE;
int callbackCalls = 0;
PF_Err callbackResult = PF_Err_NONE;
void* const kRampRefcon = &callbackCalls;

PF_Err EditorEvent(PF_InData*, PF_OutData*, PF_ParamDef**, PF_LayerDef*, PF_EventExtra*) {
    ++editorCalls;
    return editorResult;
}

bool IsRampCallback(const PF_ArbParamsExtra* extra) {
    return extra->u.new_func_params.refconPV == kRampRefcon;
}

PF_Err RampCallback(PF_InData*, PF_OutData*, PF_ParamDef**, PF_LayerDef*, PF_ArbParamsExtra*) {
    ++callbackCalls;
    return callbackResult;
}

class ParamCommandRowsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        editorCalls = callbackCalls = 0;
        editorResult = callbackResult = PF_Err_NONE;
    }

    // The row as EffectMain would see it: its answer, or the code its failure becomes.
    template <bool (*Row)(const CommandArgs&)>
    PF_Err Run(void* extra, bool* handled) {
        const CommandArgs args{PF_Cmd_EVENT, &in, &out, nullptr, nullptr, extra};
        return ConvertFailures(&in, &out, [&] {
            *handled = Row(args);
            return PF_Err_NONE;
        });
    }

    PF_InData in = {};
    PF_OutData out = {};
};

TEST_F(ParamCommandRowsTest, OnlyRampEditorEventsGoToTheEditor) {
    PF_EventExtra event = {};
    bool handled = true;
    const PF_ParamIndex others[] = {PARAM_INPUT,
                                    PARAM_MESH_SETTINGS_GROUP_START,
                                    PARAM_MASK_1_INVERT_PATH_DIRECTION,
                                    PARAM_QUORVEL_REVERSE_DIRECTION,
                                    PARAM_STRIPS_GROUP_END,
                                    PARAM_RENDER_GROUP_END,
                                    -1};
    for (PF_ParamIndex index : others) {
        event.effect_win.index = index;
        EXPECT_EQ((Run<&ClaimRampEditorEvent<EditorEvent>>(&event, &handled)), PF_Err_NONE);
        EXPECT_FALSE(handled) << index;
    }
    EXPECT_EQ(editorCalls, 0);
    for (PF_ParamIndex index :
         {PARAM_MASK_1_BASE_POINTS_DENSITY, PARAM_MASK_2_BASE_POINTS_DENSITY, PARAM_QUORVEL_RAMP,
          PARAM_QUORVEL_PERPENDICULAR_RAMP, PARAM_DISTORTION_ALONG_RAMP,
          PARAM_DISTORTION_ACROSS_RAMP, PARAM_OPACITY_ALONG_RAMP, PARAM_OPACITY_ACROSS_RAMP,
          PARAM_STRIPS_DISTRIBUTION}) {
        event.effect_win.index = index;
        EXPECT_EQ((Run<&ClaimRampEditorEvent<EditorEvent>>(&event, &handled)), PF_Err_NONE);
        EXPECT_TRUE(handled) << index;
    }
    EXPECT_EQ(editorCalls, 9);
    // The editor's failure becomes the command's code, without a message.
    editorResult = PF_Err_OUT_OF_MEMORY;
    event.effect_win.index = PARAM_QUORVEL_RAMP;
    EXPECT_EQ((Run<&ClaimRampEditorEvent<EditorEvent>>(&event, &handled)), PF_Err_OUT_OF_MEMORY);
    EXPECT_EQ(out.out_flags, 0);
    // No event record: not for the editor.
    EXPECT_EQ((Run<&ClaimRampEditorEvent<EditorEvent>>(nullptr, &handled)), PF_Err_NONE);
    EXPECT_FALSE(handled);
}

TEST_F(ParamCommandRowsTest,
       ArbitraryCallbacksOfAForeignRefconAreUnrecognizedParamTypeWithoutMessage) {
    PF_ArbParamsExtra callback = {};
    bool handled = false;
    callback.u.new_func_params.refconPV = &handled;
    EXPECT_EQ((Run<&ClaimRampArbitraryCallback<IsRampCallback, RampCallback>>(&callback, &handled)),
              PF_Err_UNRECOGNIZED_PARAM_TYPE);
    EXPECT_EQ(callbackCalls, 0);
    EXPECT_EQ(out.out_flags, 0);
    EXPECT_STREQ(out.return_msg, "");

    callback.u.new_func_params.refconPV = kRampRefcon;
    EXPECT_EQ((Run<&ClaimRampArbitraryCallback<IsRampCallback, RampCallback>>(&callback, &handled)),
              PF_Err_NONE);
    EXPECT_TRUE(handled);
    callbackResult = PF_Err_INTERNAL_STRUCT_DAMAGED;
    EXPECT_EQ((Run<&ClaimRampArbitraryCallback<IsRampCallback, RampCallback>>(&callback, &handled)),
              PF_Err_INTERNAL_STRUCT_DAMAGED);
    EXPECT_EQ(callbackCalls, 2);
}

}  // namespace
