#include "ramp/ramp_arbitrary.h"

namespace {

// The value every request starts from: mode all, interpolation sin, {0: 1, 1: 1}.
constexpr float kNewValue = 1.0f;

using ArbitraryHandler = PF_Err (*)(PF_InData* in_data, PF_ArbParamsExtra* extra);

struct ArbitraryRoute {
    PF_FunctionSelector selector;
    ArbitraryHandler handler;
};

// Each request that answers with a fresh value first makes it with NEW into the host's slot.
constexpr ArbitraryRoute kRoutes[] = {
    {PF_Arbitrary_NEW_FUNC,
     [](PF_InData* in_data, PF_ArbParamsExtra* extra) {
         return RampArbNew(in_data, extra->u.new_func_params.arbPH, kNewValue, kNewValue);
     }},
    {PF_Arbitrary_DISPOSE_FUNC,
     [](PF_InData* in_data, PF_ArbParamsExtra* extra) {
         return RampArbDispose(in_data, extra->u.dispose_func_params.arbH);
     }},
    {PF_Arbitrary_COPY_FUNC,
     [](PF_InData* in_data, PF_ArbParamsExtra* extra) {
         const auto& p = extra->u.copy_func_params;
         const PF_Err err = RampArbNew(in_data, p.dst_arbPH, kNewValue, kNewValue);
         return err != PF_Err_NONE ? err : RampArbCopy(in_data, &p.src_arbH, p.dst_arbPH);
     }},
    {PF_Arbitrary_FLAT_SIZE_FUNC,
     [](PF_InData* in_data, PF_ArbParamsExtra* extra) {
         const auto& p = extra->u.flat_size_func_params;
         return RampArbFlatSize(in_data, p.arbH, p.flat_data_sizePLu);
     }},
    {PF_Arbitrary_FLATTEN_FUNC,
     [](PF_InData* in_data, PF_ArbParamsExtra* extra) {
         const auto& p = extra->u.flatten_func_params;
         return RampArbFlatten(in_data, p.arbH, p.buf_sizeLu, p.flat_dataPV);
     }},
    {PF_Arbitrary_UNFLATTEN_FUNC,
     [](PF_InData* in_data, PF_ArbParamsExtra* extra) {
         const auto& p = extra->u.unflatten_func_params;
         const PF_Err err = RampArbNew(in_data, p.arbPH, kNewValue, kNewValue);
         return err != PF_Err_NONE
                    ? err
                    : RampArbUnflatten(in_data, p.buf_sizeLu, p.flat_dataPV, p.arbPH);
     }},
    {PF_Arbitrary_INTERP_FUNC,
     [](PF_InData* in_data, PF_ArbParamsExtra* extra) {
         const auto& p = extra->u.interp_func_params;
         const PF_Err err = RampArbNew(in_data, p.interpPH, kNewValue, kNewValue);
         return err != PF_Err_NONE
                    ? err
                    : RampArbInterpolate(in_data, p.tF, &p.left_arbH, &p.right_arbH, p.interpPH);
     }},
    {PF_Arbitrary_COMPARE_FUNC,
     [](PF_InData* in_data, PF_ArbParamsExtra* extra) {
         const auto& p = extra->u.compare_func_params;
         return RampArbCompare(in_data, p.a_arbH, p.b_arbH, p.compareP);
     }},
    {PF_Arbitrary_PRINT_SIZE_FUNC,
     [](PF_InData* in_data, PF_ArbParamsExtra* extra) {
         const auto& p = extra->u.print_size_func_params;
         return RampArbPrintSize(in_data, p.arbH, p.print_sizePLu);
     }},
    {PF_Arbitrary_PRINT_FUNC,
     [](PF_InData* in_data, PF_ArbParamsExtra* extra) {
         const auto& p = extra->u.print_func_params;
         return RampArbPrint(in_data, p.arbH, p.print_sizeLu, p.print_bufferPC);
     }},
    {PF_Arbitrary_SCAN_FUNC,
     [](PF_InData* in_data, PF_ArbParamsExtra* extra) {
         const auto& p = extra->u.scan_func_params;
         const PF_Err err = RampArbNew(in_data, p.arbPH, kNewValue, kNewValue);
         return err != PF_Err_NONE ? err
                                   : RampArbScan(in_data, p.bufPC, p.bytes_to_scanLu, p.arbPH);
     }},
};

const ArbitraryRoute* FindRoute(PF_FunctionSelector selector) {
    for (const ArbitraryRoute& route : kRoutes) {
        if (route.selector == selector) {
            return &route;
        }
    }
    return nullptr;
}

}  // namespace

bool IsRampArbitraryCallback(const PF_ArbParamsExtra* extra) {
    // The refcon stands first in every member of the union, so any member reads it.
    return extra != nullptr && FindRoute(extra->which_function) != nullptr &&
           reinterpret_cast<uintptr_t>(extra->u.new_func_params.refconPV) == RAMP_ARB_REFCON;
}

PF_Err HandleRampArbitraryCallback(PF_InData* in_data, PF_OutData* /*out_data*/,
                                   PF_ParamDef* /*params*/[], PF_LayerDef* /*output*/,
                                   PF_ArbParamsExtra* extra) {
    const ArbitraryRoute* route = FindRoute(extra->which_function);
    return route != nullptr ? route->handler(in_data, extra) : PF_Err_NONE;
}
