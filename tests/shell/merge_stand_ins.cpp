// Test-only stand-ins for two functions that other branches of the module define. Each one
// goes as soon as its real definition is on main.
#include "host_api/effect.h"
#include "ramp/ramp.h"

// Stand-in for the ramp subsystem's constructor: an empty point map, mode and interpolation
// left alone.
Ramp::Ramp() : points(new RampPoints()) {}

// Stand-in for the global-data accessor: the memory of the global-data handle, or null.
struct GlobalData;
GlobalData* GetGlobalData(PF_InData* in_data) {
    if (in_data->global_data == nullptr || *in_data->global_data == nullptr) {
        return nullptr;
    }
    return static_cast<GlobalData*>(*in_data->global_data);
}
