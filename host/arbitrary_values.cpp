#include "host/arbitrary_values.h"

#include <algorithm>
#include <cstring>

#include "host/effect_instance.h"

namespace quorvel::host {

ArbitraryValues::ArbitraryValues(EffectInstance& effect, void* refcon)
    : effect_(effect), refcon_(refcon) {}

PF_ArbParamsExtra ArbitraryValues::Request(PF_FunctionSelector selector) const {
    PF_ArbParamsExtra request;
    std::memset(&request, 0, sizeof request);
    request.which_function = selector;
    // The refcon stands first in every member of the union.
    request.u.new_func_params.refconPV = refcon_;
    return request;
}

PF_Err ArbitraryValues::Send(PF_ArbParamsExtra* request) const {
    return effect_.Send(PF_Cmd_ARBITRARY_CALLBACK, request).err;
}

ArbitraryValue ArbitraryValues::New() const {
    ArbitraryValue value = {PF_Err_NONE, nullptr};
    PF_ArbParamsExtra request = Request(PF_Arbitrary_NEW_FUNC);
    request.u.new_func_params.arbPH = &value.handle;
    value.err = Send(&request);
    return value;
}

PF_Err ArbitraryValues::Dispose(PF_ArbitraryH value) const {
    PF_ArbParamsExtra request = Request(PF_Arbitrary_DISPOSE_FUNC);
    request.u.dispose_func_params.arbH = value;
    return Send(&request);
}

ArbitraryValue ArbitraryValues::Copy(PF_ArbitraryH source) const {
    ArbitraryValue value = {PF_Err_NONE, nullptr};
    PF_ArbParamsExtra request = Request(PF_Arbitrary_COPY_FUNC);
    request.u.copy_func_params.src_arbH = source;
    request.u.copy_func_params.dst_arbPH = &value.handle;
    value.err = Send(&request);
    return value;
}

PF_Err ArbitraryValues::Flatten(PF_ArbitraryH value, std::vector<uint8_t>* bytes) const {
    A_u_long size = 0;
    PF_ArbParamsExtra sizing = Request(PF_Arbitrary_FLAT_SIZE_FUNC);
    sizing.u.flat_size_func_params.arbH = value;
    sizing.u.flat_size_func_params.flat_data_sizePLu = &size;
    if (const PF_Err err = Send(&sizing)) {
        return err;
    }
    bytes->assign(size, 0);
    PF_ArbParamsExtra request = Request(PF_Arbitrary_FLATTEN_FUNC);
    request.u.flatten_func_params.arbH = value;
    request.u.flatten_func_params.buf_sizeLu = size;
    request.u.flatten_func_params.flat_dataPV = bytes->data();
    return Send(&request);
}

ArbitraryValue ArbitraryValues::Unflatten(const std::vector<uint8_t>& bytes) const {
    ArbitraryValue value = {PF_Err_NONE, nullptr};
    PF_ArbParamsExtra request = Request(PF_Arbitrary_UNFLATTEN_FUNC);
    request.u.unflatten_func_params.buf_sizeLu = A_u_long(bytes.size());
    request.u.unflatten_func_params.flat_dataPV = bytes.data();
    request.u.unflatten_func_params.arbPH = &value.handle;
    value.err = Send(&request);
    return value;
}

ArbitraryValue ArbitraryValues::Interpolate(PF_ArbitraryH left, PF_ArbitraryH right,
                                            double fraction) const {
    ArbitraryValue value = {PF_Err_NONE, nullptr};
    PF_ArbParamsExtra request = Request(PF_Arbitrary_INTERP_FUNC);
    request.u.interp_func_params.left_arbH = left;
    request.u.interp_func_params.right_arbH = right;
    request.u.interp_func_params.tF = fraction;
    request.u.interp_func_params.interpPH = &value.handle;
    value.err = Send(&request);
    return value;
}

PF_Err ArbitraryValues::Compare(PF_ArbitraryH a, PF_ArbitraryH b,
                                PF_ArbCompareResult* result) const {
    PF_ArbParamsExtra request = Request(PF_Arbitrary_COMPARE_FUNC);
    request.u.compare_func_params.a_arbH = a;
    request.u.compare_func_params.b_arbH = b;
    request.u.compare_func_params.compareP = result;
    return Send(&request);
}

PF_Err ArbitraryValues::Print(PF_ArbitraryH value, std::string* text) const {
    A_u_long size = 0;
    PF_ArbParamsExtra sizing = Request(PF_Arbitrary_PRINT_SIZE_FUNC);
    sizing.u.print_size_func_params.arbH = value;
    sizing.u.print_size_func_params.print_sizePLu = &size;
    if (const PF_Err err = Send(&sizing)) {
        return err;
    }
    std::vector<char> buffer(size, '\0');
    PF_ArbParamsExtra request = Request(PF_Arbitrary_PRINT_FUNC);
    request.u.print_func_params.arbH = value;
    request.u.print_func_params.print_sizeLu = size;
    request.u.print_func_params.print_bufferPC = buffer.data();
    const PF_Err err = Send(&request);
    // The text ends at its NUL, or at the end of the buffer when the effect wrote none.
    text->assign(buffer.begin(), std::find(buffer.begin(), buffer.end(), '\0'));
    return err;
}

ArbitraryValue ArbitraryValues::Scan(const std::string& text) const {
    ArbitraryValue value = {PF_Err_NONE, nullptr};
    // Exactly the text's bytes, in memory of their own, so that nothing after them is read.
    const std::vector<char> bytes(text.begin(), text.end());
    PF_ArbParamsExtra request = Request(PF_Arbitrary_SCAN_FUNC);
    request.u.scan_func_params.bufPC = bytes.data();
    request.u.scan_func_params.bytes_to_scanLu = A_u_long(bytes.size());
    request.u.scan_func_params.arbPH = &value.handle;
    value.err = Send(&request);
    return value;
}

}  // namespace quorvel::host
