#include "host/module.h"

#include "host/host_error.h"

namespace quorvel::host {

namespace {

std::string Text(const A_char* text) {
    return text != nullptr ? text : "";
}

A_Err RecordRegistration(PF_PluginDataPtr inPtr, const A_char* name, const A_char* matchName,
                         const A_char* category, const A_char* entryPoint, A_long kind,
                         A_long apiMajorVersion, A_long apiMinorVersion, A_long reservedInfo) {
    auto* registration = reinterpret_cast<Registration*>(inPtr);
    ++registration->calls;
    registration->name = Text(name);
    registration->matchName = Text(matchName);
    registration->category = Text(category);
    registration->entryPoint = Text(entryPoint);
    registration->kind = kind;
    registration->apiMajorVersion = apiMajorVersion;
    registration->apiMinorVersion = apiMinorVersion;
    registration->reservedInfo = reservedInfo;
    return PF_Err_NONE;
}

template <typename Function>
Function EntryPoint(const SharedLibrary& library, const char* name) {
    void* address = library.Symbol(name);
    if (address == nullptr) {
        throw HostError(std::string("the module does not export ") + name);
    }
    return reinterpret_cast<Function>(address);
}

}  // namespace

Module::Module(const std::string& path)
    : library_(path),
      pluginDataEntry_(EntryPoint<PF_PluginDataEntryFunc>(library_, "PluginDataEntryFunction")),
      effectMain_(EntryPoint<PF_EffectMainFunc>(library_, "EffectMain")) {}

A_Err Module::Register(Registration* registration) const {
    return pluginDataEntry_(reinterpret_cast<PF_PluginDataPtr>(registration), &RecordRegistration);
}

PF_Err Module::EffectMain(PF_Cmd cmd, PF_InData* in_data, PF_OutData* out_data,
                          PF_ParamDef* params[], PF_LayerDef* output, void* extra) const {
    return effectMain_(cmd, in_data, out_data, params, output, extra);
}

}  // namespace quorvel::host
