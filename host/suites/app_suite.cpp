#include "host/host.h"
#include "host/interface_colours.h"
#include "host/suite_registry.h"

namespace quorvel::host {

namespace {

PF_Err AppGetBgColor(PF_App_Color* colour) {
    Host& host = Host::Current();
    if (colour == nullptr) {
        host.ledger().Misuse("PF_AppGetBgColor without a place for the colour");
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    if (const auto fault = host.faults().Enter("PF_AppGetBgColor")) {
        return fault->Result(PF_Err_NONE);
    }
    *colour = host.State<InterfaceColours>().Background();
    return PF_Err_NONE;
}

PF_Err AppGetColor(PF_App_ColorType type, PF_App_Color* colour) {
    Host& host = Host::Current();
    if (colour == nullptr) {
        host.ledger().Misuse("PF_AppGetColor without a place for the colour");
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    if (const auto fault = host.faults().Enter("PF_AppGetColor")) {
        return fault->Result(PF_Err_NONE);
    }
    *colour = host.State<InterfaceColours>().Of(type);
    return PF_Err_NONE;
}

const PF_AppSuite6 kAppSuite = {&AppGetBgColor, &AppGetColor};

}  // namespace

extern const SuiteDefinition kAppSuite6 = {kPFAppSuite, kPFAppSuiteVersion6, &kAppSuite};

}  // namespace quorvel::host
