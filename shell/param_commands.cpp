#include "shell/param_commands.h"

#include "ramp/ramp_arbitrary.h"
#include "shell/command_args.h"
#include "shell/param_command_rows.h"
#include "shell/params_setup.h"
#include "shell/params_ui.h"
#include "ui/ramp_editor.h"

namespace {

struct ParamCommandRow {
    PF_Cmd cmd;
    bool (*handle)(const CommandArgs& args);
};

// Commands without a row are not handled here.
constexpr ParamCommandRow kParamCommandRows[] = {
    {PF_Cmd_USER_CHANGED_PARAM, &ClaimWithoutWork},
    {PF_Cmd_PARAMS_SETUP, &ClaimAfterSetup<&ParamsSetup>},
    {PF_Cmd_UPDATE_PARAMS_UI, &PassOnAfterUpdate<&UpdateParamsUI>},
    {PF_Cmd_EVENT, &ClaimRampEditorEvent<HandleRampEditorEvent>},
    {PF_Cmd_ARBITRARY_CALLBACK,
     &ClaimRampArbitraryCallback<IsRampArbitraryCallback, HandleRampArbitraryCallback>},
};

}  // namespace

bool HandleParamCommands(PF_Cmd cmd, PF_InData* in_data, PF_OutData* out_data,
                         PF_ParamDef* params[], PF_LayerDef* output, void* extra) {
    const CommandArgs args{cmd, in_data, out_data, params, output, extra};
    for (const ParamCommandRow& row : kParamCommandRows) {
        if (row.cmd == cmd) {
            return row.handle(args);
        }
    }
    return false;
}
