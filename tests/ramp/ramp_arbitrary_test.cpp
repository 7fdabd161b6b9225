#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ramp/ramp.h"
#include "ramp/ramp_arbitrary.h"
#include "ramp/ramp_text.h"
#include "tests/ramp/fake_handle_host.h"

namespace {

void* const kRefcon = reinterpret_cast<void*>(RAMP_ARB_REFCON);

Ramp* RampIn(PF_ArbitraryH handle) {
    return static_cast<Ramp*>(*handle);
}

// The request as the module's dispatch answers it: refused when it is not the ramp's, thrown
// failures turned into codes the way EffectMain turns them.
PF_Err Dispatch(FakeHandleHost* host, PF_ArbParamsExtra* extra) {
    try {
        if (!IsRampArbitraryCallback(extra)) {
            return PF_Err_UNRECOGNIZED_PARAM_TYPE;
        }
        return HandleRampArbitraryCallback(host->InData(), nullptr, nullptr, nullptr, extra);
    } catch (int code) {
        return code;
    } catch (...) {
        return PF_Err_OUT_OF_MEMORY;
    }
}

PF_ArbParamsExtra Request(PF_FunctionSelector selector) {
    PF_ArbParamsExtra extra;
    std::memset(&extra, 0, sizeof extra);
    extra.which_function = selector;
    extra.u.new_func_params.refconPV = kRefcon;
    return extra;
}

class RampArbitraryTest : public testing::Test {
  protected:
    PF_ArbitraryH New() {
        PF_ArbitraryH handle = nullptr;
        PF_ArbParamsExtra extra = Request(PF_Arbitrary_NEW_FUNC);
        extra.u.new_func_params.arbPH = &handle;
        EXPECT_EQ(Dispatch(&host, &extra), PF_Err_NONE);
        return handle;
    }
    void Dispose(PF_ArbitraryH handle) {
        PF_ArbParamsExtra extra = Request(PF_Arbitrary_DISPOSE_FUNC);
        extra.u.dispose_func_params.arbH = handle;
        EXPECT_EQ(Dispatch(&host, &extra), PF_Err_NONE);
    }
    PF_ArbitraryH Make(int32_t mode, int32_t interpolation, const RampPoints& points) {
        PF_ArbitraryH handle = New();
        RampIn(handle)->mode = mode;
        RampIn(handle)->interpolation = interpolation;
        *RampIn(handle)->points = points;
        return handle;
    }
    std::string Print(PF_ArbitraryH handle) {
        A_u_long size = 0;
        PF_ArbParamsExtra sizing = Request(PF_Arbitrary_PRINT_SIZE_FUNC);
        sizing.u.print_size_func_params.arbH = handle;
        sizing.u.print_size_func_params.print_sizePLu = &size;
        EXPECT_EQ(Dispatch(&host, &sizing), PF_Err_NONE);
        std::vector<char> buffer(size, 'x');
        PF_ArbParamsExtra print = Request(PF_Arbitrary_PRINT_FUNC);
        print.u.print_func_params.arbH = handle;
        print.u.print_func_params.print_sizeLu = size;
        print.u.print_func_params.print_bufferPC = buffer.data();
        EXPECT_EQ(Dispatch(&host, &print), PF_Err_NONE);
        EXPECT_EQ(buffer.back(), '\0');
        return std::string(buffer.data());
    }
    PF_Err Scan(const std::string& text, PF_ArbitraryH* slot) {
        const std::vector<char> exact(text.begin(), text.end());
        PF_ArbParamsExtra scan = Request(PF_Arbitrary_SCAN_FUNC);
        scan.u.scan_func_params.bufPC = exact.data();
        scan.u.scan_func_params.bytes_to_scanLu = A_u_long(exact.size());
        scan.u.scan_func_params.arbPH = slot;
        return Dispatch(&host, &scan);
    }
    void ExpectBalanced() {
        EXPECT_EQ(host.OutstandingLocks(), 0);
        EXPECT_EQ(host.OutstandingSuites(), 0);
    }

    FakeHandleHost host;
};

TEST_F(RampArbitraryTest, RecognisesOnlyTheRampsSelectors) {
    PF_ArbParamsExtra extra = Request(PF_Arbitrary_NEW_FUNC);
    EXPECT_TRUE(IsRampArbitraryCallback(&extra));
    EXPECT_EQ(reinterpret_cast<uintptr_t>(kRefcon), uintptr_t(0x0052414D50000000ULL));
    for (PF_FunctionSelector selector : {-1, 11, 0x7FFFFFFF}) {
        extra.which_function = selector;
        EXPECT_FALSE(IsRampArbitraryCallback(&extra)) << selector;
    }
    extra.which_function = PF_Arbitrary_SCAN_FUNC;
    EXPECT_TRUE(IsRampArbitraryCallback(&extra));
    extra.u.scan_func_params.refconPV = reinterpret_cast<void*>(uintptr_t(0x52414D50));
    EXPECT_FALSE(IsRampArbitraryCallback(&extra));
    EXPECT_FALSE(IsRampArbitraryCallback(nullptr));

    // Past the last selector the handler does nothing.
    PF_ArbParamsExtra beyond = Request(11);
    EXPECT_EQ(HandleRampArbitraryCallback(host.InData(), nullptr, nullptr, nullptr, &beyond),
              PF_Err_NONE);
    EXPECT_EQ(host.newCalls + host.lockCalls, 0);
}

TEST_F(RampArbitraryTest, NewFlattenPrintAndDispose) {
    PF_ArbitraryH handle = New();
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(RampIn(handle)->mode, RampMode_All);
    EXPECT_EQ(RampIn(handle)->interpolation, RampInterpolation_Sin);
    EXPECT_EQ(*RampIn(handle)->points, (RampPoints{{0.0f, 1.0f}, {1.0f, 1.0f}}));

    A_u_long flatSize = 0;
    PF_ArbParamsExtra sizing = Request(PF_Arbitrary_FLAT_SIZE_FUNC);
    sizing.u.flat_size_func_params.arbH = handle;
    sizing.u.flat_size_func_params.flat_data_sizePLu = &flatSize;
    EXPECT_EQ(Dispatch(&host, &sizing), PF_Err_NONE);
    EXPECT_EQ(flatSize, 28u);

    // Only the exact size is written to.
    for (A_u_long size : {27u, 29u, 28u}) {
        std::vector<unsigned char> buffer(size, 0xAB);
        PF_ArbParamsExtra flatten = Request(PF_Arbitrary_FLATTEN_FUNC);
        flatten.u.flatten_func_params.arbH = handle;
        flatten.u.flatten_func_params.buf_sizeLu = size;
        flatten.u.flatten_func_params.flat_dataPV = buffer.data();
        const PF_Err err = Dispatch(&host, &flatten);
        if (size != 28u) {
            EXPECT_EQ(err, PF_Err_INTERNAL_STRUCT_DAMAGED);
            EXPECT_EQ(buffer, std::vector<unsigned char>(size, 0xAB));
        } else {
            EXPECT_EQ(err, PF_Err_NONE);
            const unsigned char expected[28] = {0, 0, 0,    0,    0, 0, 0,    0,   2,    0,
                                                0, 0, 0,    0,    0, 0, 0,    0,   0x80, 0x3F,
                                                0, 0, 0x80, 0x3F, 0, 0, 0x80, 0x3F};
            EXPECT_EQ(0, std::memcmp(buffer.data(), expected, 28));
        }
    }

    EXPECT_EQ(Print(handle), "Ramp all  sin  t 0 v 1 t 1 v 1");
    for (A_u_long size : {30u, 32u}) {
        std::vector<char> buffer(size, 'x');
        PF_ArbParamsExtra print = Request(PF_Arbitrary_PRINT_FUNC);
        print.u.print_func_params.arbH = handle;
        print.u.print_func_params.print_sizeLu = size;
        print.u.print_func_params.print_bufferPC = buffer.data();
        EXPECT_EQ(Dispatch(&host, &print), PF_Err_UNRECOGNIZED_PARAM_TYPE);
        EXPECT_EQ(buffer, std::vector<char>(size, 'x'));
    }

    Dispose(handle);
    EXPECT_EQ(host.LiveHandles(), 0u);
    EXPECT_EQ(host.newCalls, 1);
    EXPECT_EQ(host.disposeCalls, 1);
    ExpectBalanced();
}

TEST_F(RampArbitraryTest, CopyUnflattenInterpolateCompare) {
    PF_ArbitraryH source = Make(RampMode_WithoutSin, RampInterpolation_Bezier,
                                {{0.0f, 0.0f}, {0.4f, 0.9f}, {1.0f, 0.5f}});
    PF_ArbitraryH copy = nullptr;
    PF_ArbParamsExtra copyRequest = Request(PF_Arbitrary_COPY_FUNC);
    copyRequest.u.copy_func_params.src_arbH = source;
    copyRequest.u.copy_func_params.dst_arbPH = &copy;
    EXPECT_EQ(Dispatch(&host, &copyRequest), PF_Err_NONE);
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(RampIn(copy)->points, RampIn(source)->points);
    EXPECT_EQ(Print(copy), Print(source));

    // A copy from no handle is NEW's default.
    PF_ArbitraryH fromNothing = nullptr;
    copyRequest.u.copy_func_params.src_arbH = nullptr;
    copyRequest.u.copy_func_params.dst_arbPH = &fromNothing;
    EXPECT_EQ(Dispatch(&host, &copyRequest), PF_Err_NONE);
    EXPECT_EQ(Print(fromNothing), "Ramp all  sin  t 0 v 1 t 1 v 1");

    // Save and restore through the flat form.
    std::vector<unsigned char> flat(size_t(RampIn(source)->Flatten(nullptr)));
    RampIn(source)->Flatten(flat.data());
    PF_ArbitraryH restored = nullptr;
    PF_ArbParamsExtra unflatten = Request(PF_Arbitrary_UNFLATTEN_FUNC);
    unflatten.u.unflatten_func_params.buf_sizeLu = A_u_long(flat.size());
    unflatten.u.unflatten_func_params.flat_dataPV = flat.data();
    unflatten.u.unflatten_func_params.arbPH = &restored;
    EXPECT_EQ(Dispatch(&host, &unflatten), PF_Err_NONE);
    EXPECT_EQ(Print(restored), Print(source));
    // A record cut short: 512, and the handle made for it is in the slot for the host.
    PF_ArbitraryH damaged = nullptr;
    unflatten.u.unflatten_func_params.buf_sizeLu = 20;
    unflatten.u.unflatten_func_params.arbPH = &damaged;
    EXPECT_EQ(Dispatch(&host, &unflatten), PF_Err_INTERNAL_STRUCT_DAMAGED);
    ASSERT_NE(damaged, nullptr);
    EXPECT_EQ(Print(damaged), "Ramp withoutSin  bezier  t 0 v 0");

    PF_ArbitraryH left = Make(RampMode_All, RampInterpolation_Line, {{0.0f, 0.0f}, {1.0f, 1.0f}});
    PF_ArbitraryH right = Make(RampMode_WithoutSin, RampInterpolation_Step,
                               {{0.0f, 1.0f}, {0.5f, 0.0f}, {1.0f, 1.0f}});
    PF_ArbitraryH blend = nullptr;
    PF_ArbParamsExtra interp = Request(PF_Arbitrary_INTERP_FUNC);
    interp.u.interp_func_params.left_arbH = left;
    interp.u.interp_func_params.right_arbH = right;
    interp.u.interp_func_params.tF = 0.5;
    interp.u.interp_func_params.interpPH = &blend;
    EXPECT_EQ(Dispatch(&host, &interp), PF_Err_NONE);
    EXPECT_EQ(Print(blend), "Ramp all  line  t 0 v 0.5 t 0.75 v 0.5 t 1 v 1");

    PF_ArbCompareResult result = -1;
    PF_ArbParamsExtra compare = Request(PF_Arbitrary_COMPARE_FUNC);
    compare.u.compare_func_params.a_arbH = source;
    compare.u.compare_func_params.b_arbH = copy;
    compare.u.compare_func_params.compareP = &result;
    EXPECT_EQ(Dispatch(&host, &compare), PF_Err_NONE);
    EXPECT_EQ(result, PF_ArbCompare_EQUAL);
    (*RampIn(copy)->points)[0.4f] = 0.902f;
    EXPECT_EQ(Dispatch(&host, &compare), PF_Err_NONE);
    EXPECT_EQ(result, PF_ArbCompare_NOT_EQUAL);

    for (PF_ArbitraryH handle :
         {source, copy, fromNothing, restored, damaged, left, right, blend}) {
        Dispose(handle);
    }
    EXPECT_EQ(host.LiveHandles(), 0u);
    EXPECT_EQ(host.newCalls, host.disposeCalls);
    ExpectBalanced();
}

TEST_F(RampArbitraryTest, ScanTakesBackWhatPrintGives) {
    const RampPoints points{{0.0f, 0.125f}, {0.3f, 0.7f}, {0.65f, 0.0f}, {1.0f, 1.0f}};
    for (int32_t mode : {0, 1}) {
        for (int32_t interpolation : {0, 1, 2, 3}) {
            PF_ArbitraryH original = Make(mode, interpolation, points);
            PF_ArbitraryH scanned = nullptr;
            EXPECT_EQ(Scan(Print(original), &scanned), PF_Err_NONE);
            EXPECT_EQ(RampIn(scanned)->mode, mode);
            EXPECT_EQ(RampIn(scanned)->interpolation, interpolation);
            EXPECT_EQ(*RampIn(scanned)->points, points);
            Dispose(original);
            Dispose(scanned);
        }
    }
    // Text it does not take: 514, and NEW's default stays in the slot for the host.
    PF_ArbitraryH rejected = nullptr;
    EXPECT_EQ(Scan("Ramp all  sin  t 0 v 0.5 t 1", &rejected), PF_Err_UNRECOGNIZED_PARAM_TYPE);
    ASSERT_NE(rejected, nullptr);
    EXPECT_EQ(Print(rejected), "Ramp all  sin  t 0 v 1 t 1 v 1");
    Dispose(rejected);
    // No text at all.
    PF_ArbitraryH none = nullptr;
    PF_ArbParamsExtra scan = Request(PF_Arbitrary_SCAN_FUNC);
    scan.u.scan_func_params.bufPC = nullptr;
    scan.u.scan_func_params.bytes_to_scanLu = 100;
    scan.u.scan_func_params.arbPH = &none;
    EXPECT_EQ(Dispatch(&host, &scan), PF_Err_UNRECOGNIZED_PARAM_TYPE);
    Dispose(none);
    EXPECT_EQ(host.LiveHandles(), 0u);
    ExpectBalanced();
}

// Every selector with everything it needs, its outputs in slots the test keeps.
struct Fixture {
    PF_ArbitraryH a;
    PF_ArbitraryH b;
    PF_ArbitraryH slot = nullptr;
    A_u_long size = 0;
    std::vector<unsigned char> flat;
    std::vector<char> text;
    PF_ArbCompareResult compared = -1;

    PF_ArbParamsExtra RequestFor(PF_FunctionSelector selector) {
        PF_ArbParamsExtra extra = Request(selector);
        switch (selector) {
            case PF_Arbitrary_NEW_FUNC:
                extra.u.new_func_params.arbPH = &slot;
                break;
            case PF_Arbitrary_DISPOSE_FUNC:
                extra.u.dispose_func_params.arbH = b;
                break;
            case PF_Arbitrary_COPY_FUNC:
                extra.u.copy_func_params.src_arbH = a;
                extra.u.copy_func_params.dst_arbPH = &slot;
                break;
            case PF_Arbitrary_FLAT_SIZE_FUNC:
                extra.u.flat_size_func_params.arbH = a;
                extra.u.flat_size_func_params.flat_data_sizePLu = &size;
                break;
            case PF_Arbitrary_FLATTEN_FUNC:
                extra.u.flatten_func_params.arbH = a;
                extra.u.flatten_func_params.buf_sizeLu = A_u_long(flat.size());
                extra.u.flatten_func_params.flat_dataPV = flat.data();
                break;
            case PF_Arbitrary_UNFLATTEN_FUNC:
                extra.u.unflatten_func_params.buf_sizeLu = A_u_long(flat.size());
                extra.u.unflatten_func_params.flat_dataPV = flat.data();
                extra.u.unflatten_func_params.arbPH = &slot;
                break;
            case PF_Arbitrary_INTERP_FUNC:
                extra.u.interp_func_params.left_arbH = a;
                extra.u.interp_func_params.right_arbH = b;
                extra.u.interp_func_params.tF = 0.25;
                extra.u.interp_func_params.interpPH = &slot;
                break;
            case PF_Arbitrary_COMPARE_FUNC:
                extra.u.compare_func_params.a_arbH = a;
                extra.u.compare_func_params.b_arbH = b;
                extra.u.compare_func_params.compareP = &compared;
                break;
            case PF_Arbitrary_PRINT_SIZE_FUNC:
                extra.u.print_size_func_params.arbH = a;
                extra.u.print_size_func_params.print_sizePLu = &size;
                break;
            case PF_Arbitrary_PRINT_FUNC:
                extra.u.print_func_params.arbH = a;
                extra.u.print_func_params.print_sizeLu = A_u_long(text.size());
                extra.u.print_func_params.print_bufferPC = text.data();
                break;
            case PF_Arbitrary_SCAN_FUNC:
                extra.u.scan_func_params.bufPC = text.data();
                extra.u.scan_func_params.bytes_to_scanLu = A_u_long(text.size());
                extra.u.scan_func_params.arbPH = &slot;
                break;
        }
        return extra;
    }
};

TEST_F(RampArbitraryTest, FailuresUndoEveryLockAndLoseNoHandle) {
    for (PF_FunctionSelector selector = 0; selector <= 10; ++selector) {
        for (int failing = 1; failing <= 4; ++failing) {
            Fixture fixture;
            fixture.a = Make(RampMode_All, RampInterpolation_Line, {{0.0f, 0.0f}, {1.0f, 1.0f}});
            fixture.b = New();
            fixture.flat.resize(28);
            RampIn(fixture.a)->Flatten(fixture.flat.data());
            const std::string text = RampToText(*RampIn(fixture.a));
            fixture.text.assign(text.c_str(), text.c_str() + text.size() + 1);
            PF_ArbParamsExtra extra = fixture.RequestFor(selector);
            host.failLockCall = host.lockCalls + failing;
            const PF_Err err = Dispatch(&host, &extra);
            const bool lockFailed = host.lockCalls >= host.failLockCall;
            host.failLockCall = 0;
            EXPECT_EQ(err, lockFailed ? PF_Err_OUT_OF_MEMORY : PF_Err_NONE)
                << selector << " " << failing;
            ExpectBalanced();
            // Whatever the result, a handle in the slot is the host's to dispose.
            for (PF_ArbitraryH handle : {fixture.slot, fixture.a}) {
                if (handle != nullptr) {
                    Dispose(handle);
                }
            }
            if (!(selector == PF_Arbitrary_DISPOSE_FUNC && err == PF_Err_NONE)) {
                Dispose(fixture.b);
            }
            EXPECT_EQ(host.LiveHandles(), 0u) << selector << " " << failing;
        }
    }
    EXPECT_EQ(host.newCalls, host.disposeCalls);
}

TEST_F(RampArbitraryTest, MissingSuiteAndMissingHandles) {
    PF_ArbitraryH kept = New();
    host.handleSuiteMissing = true;
    for (PF_FunctionSelector selector = 0; selector <= 10; ++selector) {
        Fixture fixture;
        fixture.a = kept;
        fixture.b = kept;
        fixture.flat.resize(28);
        fixture.text.assign(31, ' ');
        PF_ArbParamsExtra extra = fixture.RequestFor(selector);
        EXPECT_EQ(Dispatch(&host, &extra), PF_Err_BAD_CALLBACK_PARAM) << selector;
        EXPECT_EQ(fixture.slot, nullptr);
    }
    host.handleSuiteMissing = false;
    EXPECT_EQ(host.LiveHandles(), 1u);

    // The host has no memory: NEW leaves the slot alone and succeeds, COPY copies nothing,
    // and the requests that must fill the new value fail as a lock that gave nothing.
    host.failNewHandle = true;
    for (PF_FunctionSelector selector : {0, 2, 5, 6, 10}) {
        Fixture fixture;
        fixture.a = kept;
        fixture.b = kept;
        fixture.flat.resize(28);
        RampIn(kept)->Flatten(fixture.flat.data());
        const std::string text = RampToText(*RampIn(kept));
        fixture.text.assign(text.begin(), text.end());
        PF_ArbParamsExtra extra = fixture.RequestFor(selector);
        const bool fills = selector == 5 || selector == 6 || selector == 10;
        EXPECT_EQ(Dispatch(&host, &extra), fills ? PF_Err_OUT_OF_MEMORY : PF_Err_NONE) << selector;
        EXPECT_EQ(fixture.slot, nullptr);
    }
    host.failNewHandle = false;

    // Null handles where a value is read fail as 4 without asking the host to lock them.
    Fixture fixture;
    fixture.a = nullptr;
    fixture.b = nullptr;
    const int locksBefore = host.lockCalls;
    for (PF_FunctionSelector selector : {3, 4, 7, 8, 9}) {
        PF_ArbParamsExtra extra = fixture.RequestFor(selector);
        EXPECT_EQ(Dispatch(&host, &extra), PF_Err_OUT_OF_MEMORY) << selector;
    }
    // Disposing no handle does nothing.
    PF_ArbParamsExtra dispose = fixture.RequestFor(PF_Arbitrary_DISPOSE_FUNC);
    EXPECT_EQ(Dispatch(&host, &dispose), PF_Err_NONE);
    EXPECT_EQ(host.lockCalls, locksBefore);

    Dispose(kept);
    EXPECT_EQ(host.LiveHandles(), 0u);
    ExpectBalanced();
}

}  // namespace
