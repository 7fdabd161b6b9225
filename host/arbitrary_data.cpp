#include "host/arbitrary_data.h"

#include <limits>

namespace quorvel::host {

PF_Err ArbitraryData::Send(PF_FunctionSelector selector, const PF_ArbitraryDef& type,
                           PF_ArbParamsExtra* request) const {
    request->which_function = selector;
    request->id = type.id;
    // The refcon stands first in every member of the union.
    request->u.new_func_params.refconPV = type.refconPV;
    return send_(request);
}

PF_Err ArbitraryData::KeepOnlyOnSuccess(const PF_ArbitraryDef& type, PF_Err err,
                                        PF_ArbitraryH* made) const {
    // A callback that failed after making its new value leaves that value in the slot; it is
    // nobody's but the host's then, so it goes back at once.
    if (err != PF_Err_NONE && *made != nullptr) {
        Dispose(type, *made);
        *made = nullptr;
    }
    return err;
}

PF_Err ArbitraryData::Copy(const PF_ArbitraryDef& type, PF_ArbitraryH source,
                           PF_ArbitraryH* copy) const {
    PF_ArbParamsExtra request = {};
    *copy = nullptr;
    request.u.copy_func_params.src_arbH = source;
    request.u.copy_func_params.dst_arbPH = copy;
    return KeepOnlyOnSuccess(type, Send(PF_Arbitrary_COPY_FUNC, type, &request), copy);
}

PF_Err ArbitraryData::Interpolate(const PF_ArbitraryDef& type, PF_ArbitraryH left,
                                  PF_ArbitraryH right, double fraction,
                                  PF_ArbitraryH* result) const {
    PF_ArbParamsExtra request = {};
    *result = nullptr;
    request.u.interp_func_params.left_arbH = left;
    request.u.interp_func_params.right_arbH = right;
    request.u.interp_func_params.tF = fraction;
    request.u.interp_func_params.interpPH = result;
    return KeepOnlyOnSuccess(type, Send(PF_Arbitrary_INTERP_FUNC, type, &request), result);
}

PF_Err ArbitraryData::Dispose(const PF_ArbitraryDef& type, PF_ArbitraryH handle) const {
    if (handle == nullptr) {
        return PF_Err_NONE;
    }
    PF_ArbParamsExtra request = {};
    request.u.dispose_func_params.arbH = handle;
    return Send(PF_Arbitrary_DISPOSE_FUNC, type, &request);
}

PF_Err ArbitraryData::Flatten(const PF_ArbitraryDef& type, PF_ArbitraryH handle,
                              std::vector<uint8_t>* bytes) const {
    A_u_long size = 0;
    PF_ArbParamsExtra sizeRequest = {};
    sizeRequest.u.flat_size_func_params.arbH = handle;
    sizeRequest.u.flat_size_func_params.flat_data_sizePLu = &size;
    if (const PF_Err err = Send(PF_Arbitrary_FLAT_SIZE_FUNC, type, &sizeRequest)) {
        return err;
    }
    bytes->assign(size, 0);
    PF_ArbParamsExtra request = {};
    request.u.flatten_func_params.arbH = handle;
    request.u.flatten_func_params.buf_sizeLu = size;
    request.u.flatten_func_params.flat_dataPV = bytes->data();
    return Send(PF_Arbitrary_FLATTEN_FUNC, type, &request);
}

PF_Err ArbitraryData::Unflatten(const PF_ArbitraryDef& type, const std::vector<uint8_t>& bytes,
                                PF_ArbitraryH* handle) const {
    if (bytes.size() > std::numeric_limits<A_u_long>::max()) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    PF_ArbParamsExtra request = {};
    *handle = nullptr;
    request.u.unflatten_func_params.buf_sizeLu = static_cast<A_u_long>(bytes.size());
    request.u.unflatten_func_params.flat_dataPV = bytes.data();
    request.u.unflatten_func_params.arbPH = handle;
    return KeepOnlyOnSuccess(type, Send(PF_Arbitrary_UNFLATTEN_FUNC, type, &request), handle);
}

}  // namespace quorvel::host
