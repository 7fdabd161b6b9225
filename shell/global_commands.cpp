#include "shell/global_commands.h"

#include "gl/render_data_registry.h"
#include "resources/effect_identity.h"
#include "shell/global_data.h"
#include "shell/string_table.h"
#include "shell/toolkit/failure_conversion.h"
#include "shell/toolkit/suite_handler.h"

PF_Err About(PF_InData* in_data, PF_OutData* out_data) {
    SuiteHandler suites(in_data->pica_basicP);
    suites.ANSISuite1()->sprintf(out_data->return_msg, "%s v%d.%d\r%s", LookupString(StrID_Name),
                                 MAJOR_VERSION, MINOR_VERSION, LookupString(StrID_Description));
    return PF_Err_NONE;
}

PF_Err GlobalSetup(PF_InData* in_data, PF_OutData* out_data) {
    out_data->my_version = EFFECT_VERSION;
    out_data->out_flags = kGlobalOutFlags;
    out_data->out_flags2 = kGlobalOutFlags2;
    // The shared OpenGL start-up data is made before the global data; its failure ends the
    // command with its code.
    const PF_Err err = CreateSharedGLData(in_data);
    if (err != PF_Err_NONE) {
        return err;
    }
    return GlobalDataSetup(in_data, out_data);
}

PF_Err GlobalSetdown(PF_InData* in_data, PF_OutData* out_data) {
    return FinishGlobalSetdown(in_data, out_data, DestroyGLDataOnThread());
}

PF_Err FinishGlobalSetdown(PF_InData* in_data, PF_OutData* out_data, PF_Err teardown) {
    // The global data goes only when the shared OpenGL data went.
    PF_Err err = teardown;
    if (err == PF_Err_NONE) {
        err = GlobalDataSetdown(in_data);
    }
    if (in_data->sequence_data != nullptr) {
        const PF_Err disposed = ConvertFailuresToCode([&] {
            in_data->utils->host_dispose_handle(in_data->sequence_data);
            return PF_Err_NONE;
        });
        if (disposed != PF_Err_NONE) {
            return disposed;
        }
        out_data->sequence_data = nullptr;
    }
    return err;
}
