#include "shell/params/checked_out_param.h"

CheckedOutParam::CheckedOutParam(PF_InData* inData) : in_data(inData), param() {}

CheckedOutParam::~CheckedOutParam() {
    in_data->inter.checkin_param(in_data->effect_ref, &param);
}

PF_Err CheckedOutParam::Checkout(PF_ParamIndex index) {
    return in_data->inter.checkout_param(in_data->effect_ref, index, in_data->current_time,
                                         in_data->time_step, in_data->time_scale, &param);
}
