// The module's two exported functions: registration and the command entry point. Nothing
// else leaves the module.
#include "host_api/effect.h"
#include "resources/effect_identity.h"
#include "shell/command_switch.h"
#include "shell/param_commands.h"
#include "shell/toolkit/failure_conversion.h"
#include "ui/mask_names.h"

#if defined(_WIN32)
#define QUORVEL_EXPORT __declspec(dllexport)
#else
#define QUORVEL_EXPORT __attribute__((visibility("default")))
#endif

namespace {

using PreFilter = bool (*)(PF_Cmd cmd, PF_InData* in_data, PF_OutData* out_data,
                           PF_ParamDef* params[], PF_LayerDef* output, void* extra);

// Every command passes these in order before the command switch; the first that handles it
// ends the call with PF_Err_NONE.
constexpr PreFilter kPreFilters[] = {
    &FilterCompWindowEvent,
    &HandleParamCommands,
};

PF_Err Dispatch(const CommandArgs& args) {
    for (PreFilter filter : kPreFilters) {
        if (filter(args.cmd, args.in_data, args.out_data, args.params, args.output, args.extra)) {
            return PF_Err_NONE;
        }
    }
    if (args.cmd >= PF_Cmd_NUM_CMDS) {
        return PF_Err_NONE;
    }
    return RunCommand(args);
}

}  // namespace

extern "C" QUORVEL_EXPORT A_Err PluginDataEntryFunction(PF_PluginDataPtr inPtr,
                                                        PF_PluginDataCB inPluginDataCallBackPtr) {
    if (inPluginDataCallBackPtr == nullptr) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    return inPluginDataCallBackPtr(inPtr, kEffectName, kEffectMatchName, kEffectCategory,
                                   kEntryPointName, kEffectKind, kEffectApiMajorVersion,
                                   kEffectApiMinorVersion, kEffectReservedInfo);
}

extern "C" QUORVEL_EXPORT PF_Err EffectMain(PF_Cmd cmd, PF_InData* in_data, PF_OutData* out_data,
                                            PF_ParamDef* params[], PF_LayerDef* output,
                                            void* extra) {
    if (in_data == nullptr || out_data == nullptr) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    // No exception leaves the module.
    const CommandArgs args{cmd, in_data, out_data, params, output, extra};
    return ConvertFailures(in_data, out_data, [&] { return Dispatch(args); });
}
