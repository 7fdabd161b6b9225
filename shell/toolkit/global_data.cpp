#include "shell/toolkit/global_data.h"

GlobalData* GetGlobalData(const PF_InData* in_data) {
    if (in_data->global_data == nullptr) {
        return nullptr;
    }
    return static_cast<GlobalData*>(*in_data->global_data);
}
