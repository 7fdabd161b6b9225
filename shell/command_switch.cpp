#include "shell/command_switch.h"

#include "render/smart_render.h"
#include "shell/global_commands.h"
#include "shell/render_commands.h"
#include "shell/sequence_data.h"
#include "shell/toolkit/failure_conversion.h"

namespace {

enum class Guard {
    None,
    // The handler runs inside its own catch: a thrown HostCode is the result, anything else
    // thrown is PF_Err_OUT_OF_MEMORY.
    Own,
};

struct CommandRow {
    PF_Cmd cmd;
    Guard guard;
    PF_Err (*handler)(const CommandArgs& args);
};

constexpr CommandRow kCommandRows[] = {
    {PF_Cmd_ABOUT, Guard::None, &WithInOut<About>},
    {PF_Cmd_GLOBAL_SETUP, Guard::None, &WithInOut<GlobalSetup>},
    {PF_Cmd_GLOBAL_SETDOWN, Guard::None, &WithInOut<GlobalSetdown>},
    {PF_Cmd_SEQUENCE_SETUP, Guard::Own, &WithInOut<SequenceSetup>},
    {PF_Cmd_SEQUENCE_RESETUP, Guard::Own, &WithInOut<SequenceResetup>},
    {PF_Cmd_SEQUENCE_FLATTEN, Guard::Own, &WithInOut<SequenceFlatten>},
    {PF_Cmd_SEQUENCE_SETDOWN, Guard::Own, &WithInOut<SequenceSetdown>},
    {PF_Cmd_QUERY_DYNAMIC_FLAGS, Guard::None, &WithInOut<QueryDynamicFlags>},
    {PF_Cmd_SMART_PRE_RENDER, Guard::None, &WithInOutExtra<PF_PreRenderExtra, SmartPreRender>},
    {PF_Cmd_SMART_RENDER, Guard::None, &WithInOutExtra<PF_SmartRenderExtra, SmartRender>},
    {PF_Cmd_GET_FLATTENED_SEQUENCE_DATA, Guard::Own, &WithInOut<GetFlattenedSequenceData>},
};

PF_Err RunGuarded(const CommandRow& row, const CommandArgs& args) {
    return ConvertFailuresToCode([&] { return row.handler(args); });
}

}  // namespace

PF_Err RunCommand(const CommandArgs& args) {
    for (const CommandRow& row : kCommandRows) {
        if (row.cmd == args.cmd) {
            return row.guard == Guard::Own ? RunGuarded(row, args) : row.handler(args);
        }
    }
    return PF_Err_NONE;
}
