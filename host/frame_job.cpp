#include "host/frame_job.h"

#include "host/frame_hooks.h"

namespace quorvel::host {

namespace {

thread_local FrameJob* t_job = nullptr;

constexpr A_long kInputCheckoutId = 0;

PF_Err CheckoutLayerPixels(PF_ProgPtr, A_long checkoutId, PF_EffectWorld** pixels) {
    if (pixels == nullptr) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    *pixels = nullptr;
    const CallFault fault = FaultFor("checkout_layer_pixels");
    if (fault.code != PF_Err_NONE) {
        return fault.code;
    }
    if (t_job == nullptr || checkoutId != kInputCheckoutId) {
        if (t_job != nullptr) {
            ++t_job->misuses;
        }
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    ++t_job->inputCheckouts;
    CountFrameObject("layer pixels", 1);
    if (!fault.giveNull) {
        *pixels = t_job->input->Effect();
    }
    return PF_Err_NONE;
}

PF_Err CheckinLayerPixels(PF_ProgPtr, A_long checkoutId) {
    const PF_Err fault = FaultFor("checkin_layer_pixels").code;
    if (t_job == nullptr || checkoutId != kInputCheckoutId || t_job->inputCheckouts == 0) {
        if (t_job != nullptr) {
            ++t_job->misuses;
        }
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    // A failing check-in still gives the pixels back: the host has them either way.
    --t_job->inputCheckouts;
    CountFrameObject("layer pixels", -1);
    return fault;
}

PF_Err CheckoutOutput(PF_ProgPtr, PF_EffectWorld** output) {
    if (output == nullptr) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    *output = nullptr;
    const CallFault fault = FaultFor("checkout_output");
    if (fault.code != PF_Err_NONE) {
        return fault.code;
    }
    if (t_job == nullptr || t_job->output == nullptr) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    if (!fault.giveNull) {
        *output = t_job->output->Effect();
    }
    return PF_Err_NONE;
}

}  // namespace

FrameJobScope::FrameJobScope(FrameJob& job) : previous_(t_job) {
    t_job = &job;
}
FrameJobScope::~FrameJobScope() {
    t_job = previous_;
}

const PF_SmartRenderCallbacks* SmartRenderCallbacks() {
    static const PF_SmartRenderCallbacks callbacks = {CheckoutLayerPixels, CheckinLayerPixels,
                                                      CheckoutOutput};
    return &callbacks;
}

}  // namespace quorvel::host
