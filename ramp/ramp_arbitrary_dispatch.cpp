#include "ramp/ramp_arbitrary.h"

#include <optional>

namespace {

// The value every request starts from: mode all, interpolation sin, {0: 1, 1: 1}.
constexpr float kNewValue = 1.0f;

// The host's slot for the fresh value of a request that answers with one, which NEW makes
// before the request's own work; nothing for the other requests.
std::optional<PF_ArbitraryH*> FreshSlot(PF_ArbParamsExtra* extra) {
    switch (extra->which_function) {
        case PF_Arbitrary_NEW_FUNC:
            return extra->u.new_func_params.arbPH;
        case PF_Arbitrary_COPY_FUNC:
            return extra->u.copy_func_params.dst_arbPH;
        case PF_Arbitrary_UNFLATTEN_FUNC:
            return extra->u.unflatten_func_params.arbPH;
        case PF_Arbitrary_INTERP_FUNC:
            return extra->u.interp_func_params.interpPH;
        case PF_Arbitrary_SCAN_FUNC:
            return extra->u.scan_func_params.arbPH;
        default:
            return std::nullopt;
    }
}

// The request's own work; NEW has none beyond its fresh value.
PF_Err Serve(PF_InData* in_data, PF_ArbParamsExtra* extra) {
    const auto& u = extra->u;
    switch (extra->which_function) {
        case PF_Arbitrary_DISPOSE_FUNC:
            return RampArbDispose(in_data, u.dispose_func_params.arbH);
        case PF_Arbitrary_COPY_FUNC:
            return RampArbCopy(in_data, &u.copy_func_params.src_arbH, u.copy_func_params.dst_arbPH);
        case PF_Arbitrary_FLAT_SIZE_FUNC:
            return RampArbFlatSize(in_data, u.flat_size_func_params.arbH,
                                   u.flat_size_func_params.flat_data_sizePLu);
        case PF_Arbitrary_FLATTEN_FUNC:
            return RampArbFlatten(in_data, u.flatten_func_params.arbH,
                                  u.flatten_func_params.buf_sizeLu,
                                  u.flatten_func_params.flat_dataPV);
        case PF_Arbitrary_UNFLATTEN_FUNC:
            return RampArbUnflatten(in_data, u.unflatten_func_params.buf_sizeLu,
                                    u.unflatten_func_params.flat_dataPV,
                                    u.unflatten_func_params.arbPH);
        case PF_Arbitrary_INTERP_FUNC:
            return RampArbInterpolate(
                in_data, u.interp_func_params.tF, &u.interp_func_params.left_arbH,
                &u.interp_func_params.right_arbH, u.interp_func_params.interpPH);
        case PF_Arbitrary_COMPARE_FUNC:
            return RampArbCompare(in_data, u.compare_func_params.a_arbH,
                                  u.compare_func_params.b_arbH, u.compare_func_params.compareP);
        case PF_Arbitrary_PRINT_SIZE_FUNC:
            return RampArbPrintSize(in_data, u.print_size_func_params.arbH,
                                    u.print_size_func_params.print_sizePLu);
        case PF_Arbitrary_PRINT_FUNC:
            return RampArbPrint(in_data, u.print_func_params.arbH, u.print_func_params.print_sizeLu,
                                u.print_func_params.print_bufferPC);
        case PF_Arbitrary_SCAN_FUNC:
            return RampArbScan(in_data, u.scan_func_params.bufPC,
                               u.scan_func_params.bytes_to_scanLu, u.scan_func_params.arbPH);
        default:
            return PF_Err_NONE;
    }
}

}  // namespace

bool IsRampArbitraryCallback(const PF_ArbParamsExtra* extra) {
    // The refcon stands first in every member of the union, so any member reads it.
    return extra != nullptr && extra->which_function >= PF_Arbitrary_NEW_FUNC &&
           extra->which_function <= PF_Arbitrary_SCAN_FUNC &&
           reinterpret_cast<uintptr_t>(extra->u.new_func_params.refconPV) == RAMP_ARB_REFCON;
}

PF_Err HandleRampArbitraryCallback(PF_InData* in_data, PF_OutData* /*out_data*/,
                                   PF_ParamDef* /*params*/[], PF_LayerDef* /*output*/,
                                   PF_ArbParamsExtra* extra) {
    if (const std::optional<PF_ArbitraryH*> slot = FreshSlot(extra)) {
        const PF_Err err = RampArbNew(in_data, *slot, kNewValue, kNewValue);
        if (err != PF_Err_NONE) {
            return err;
        }
    }
    return Serve(in_data, extra);
}
