#pragma once

#include <string>

#include "host/registration.h"
#include "host/shared_library.h"
#include "host_api/effect.h"

namespace quorvel::host {

// The effect module, loaded by path, with its two entry points.
class Module {
  public:
    // Throws HostError when the library cannot be loaded or lacks an entry point.
    explicit Module(const std::string& path);

    // Calls PluginDataEntryFunction with the host's registration callback, which records
    // what the module passes into registration; the function's result.
    A_Err Register(Registration* registration) const;

    PF_Err EffectMain(PF_Cmd cmd, PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
                      PF_LayerDef* output, void* extra) const;

  private:
    SharedLibrary library_;
    PF_PluginDataEntryFunc pluginDataEntry_;
    PF_EffectMainFunc effectMain_;
};

}  // namespace quorvel::host
