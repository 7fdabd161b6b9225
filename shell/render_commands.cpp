#include "shell/render_commands.h"

#include "shell/params/checked_out_param.h"
#include "shell/params/param_index.h"
#include "shell/toolkit/errors.h"
#include "shell/union_rect.h"

PF_Err QueryDynamicFlags(PF_InData* in_data, PF_OutData* out_data) {
    CheckedOutParam animate(in_data);
    const PF_Err err = animate.Checkout(PARAM_ANIMATE);
    if (err != PF_Err_NONE) {
        throw Exception(err);
    }
    if (animate.param.u.bd.value != 0) {
        out_data->out_flags |= PF_OutFlag_NON_PARAM_VARY;
    } else {
        out_data->out_flags &= ~PF_OutFlag_NON_PARAM_VARY;
    }
    return PF_Err_NONE;
}

PF_Err SmartPreRender(PF_InData* in_data, PF_OutData*, PF_PreRenderExtra* extra) {
    if (extra == nullptr || extra->input == nullptr || extra->output == nullptr ||
        extra->cb == nullptr) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    PF_RenderRequest request = extra->input->output_request;
    const PF_LRect layer = {0, 0, in_data->width, in_data->height};
    UnionRect(&layer, &request.rect);

    PF_CheckoutResult checkout = {};
    const PF_Err err = extra->cb->checkout_layer(in_data->effect_ref, PARAM_INPUT, 0, &request,
                                                 in_data->current_time, in_data->time_step,
                                                 in_data->time_scale, &checkout);
    if (err != PF_Err_NONE) {
        return err;
    }
    UnionRect(&checkout.result_rect, &extra->output->result_rect);
    UnionRect(&checkout.max_result_rect, &extra->output->max_result_rect);
    extra->output->flags |= PF_RenderOutputFlag_RETURNS_EXTRA_PIXELS;
    return PF_Err_NONE;
}
