// The ramp values through the module's entry point, as the host manages them: only through
// PF_Cmd_ARBITRARY_CALLBACK, every value made given back once, every lock undone.
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host/arbitrary_values.h"
#include "tests/support/module_host.h"

namespace quorvel::testing {
namespace {

// The refcon the effect gives its ramp parameters: 'RAMP' shifted left by 24 bits.
void* const kRampRefcon = reinterpret_cast<void*>(uintptr_t(0x0052414D50000000ULL));
constexpr char kDefaultText[] = "Ramp all  sin  t 0 v 1 t 1 v 1";

class RampModuleTest : public ModuleTest {
  protected:
    // Every value the module handed out is given back exactly once.
    void DisposeAll() {
        for (PF_ArbitraryH handle : made) {
            EXPECT_EQ(ramps.Dispose(handle), PF_Err_NONE);
        }
        made.clear();
    }
    PF_ArbitraryH Keep(const host::ArbitraryValue& value) {
        if (value.handle != nullptr) {
            made.push_back(value.handle);
        }
        return value.handle;
    }
    std::string Text(PF_ArbitraryH handle) {
        std::string text;
        EXPECT_EQ(ramps.Print(handle, &text), PF_Err_NONE);
        return text;
    }
    // The ledger shows every handle the module made and not disposed, every lock not undone,
    // and a second dispose of one handle as a misuse.
    void ExpectEveryNewDisposedOnce() {
        EXPECT_LEDGER_BALANCED(host);
        EXPECT_EQ(host.handles().LiveCount(), 0u);
    }

    host::ArbitraryValues ramps{effect(), kRampRefcon};
    std::vector<PF_ArbitraryH> made;
};

TEST_F(RampModuleTest, OtherRefconsAndSelectorsAreUnrecognizedParamTypeWithoutMessage) {
    int foreign = 0;
    host::ArbitraryValues others(effect(), &foreign);
    PF_ArbParamsExtra request = others.Request(PF_Arbitrary_NEW_FUNC);
    PF_ArbitraryH slot = nullptr;
    request.u.new_func_params.arbPH = &slot;
    const host::CommandResult result = effect().Send(PF_Cmd_ARBITRARY_CALLBACK, &request);
    EXPECT_EQ(result.err, PF_Err_UNRECOGNIZED_PARAM_TYPE);
    EXPECT_EQ(result.out.out_flags & PF_OutFlag_DISPLAY_ERROR_MESSAGE, 0);
    EXPECT_EQ(result.Message(), "");
    for (PF_FunctionSelector selector : {-1, 11, 12}) {
        PF_ArbParamsExtra beyond = ramps.Request(selector);
        beyond.u.new_func_params.arbPH = &slot;
        EXPECT_EQ(ramps.Send(&beyond), PF_Err_UNRECOGNIZED_PARAM_TYPE) << selector;
    }
    EXPECT_EQ(slot, nullptr);
    EXPECT_EQ(host.faults().Calls("host_new_handle"), 0);
    EXPECT_LEDGER_BALANCED(host);
}

TEST_F(RampModuleTest, ValuesLiveAndDieThroughTheCallbacks) {
    const PF_ArbitraryH fresh = Keep(ramps.New());
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(Text(fresh), kDefaultText);
    std::vector<uint8_t> flat;
    EXPECT_EQ(ramps.Flatten(fresh, &flat), PF_Err_NONE);
    EXPECT_EQ(flat,
              (std::vector<uint8_t>{0, 0, 0, 0, 0,    0,    0, 0, 2,    0,    0, 0, 0,    0,
                                    0, 0, 0, 0, 0x80, 0x3F, 0, 0, 0x80, 0x3F, 0, 0, 0x80, 0x3F}));

    // A curve of the user's, as a project holds it, restored, copied, printed and scanned.
    const host::ArbitraryValue scanned = ramps.Scan("Ramp withoutSin  line  t 0 v 0 t 1 v 1");
    const PF_ArbitraryH left = Keep(scanned);
    EXPECT_EQ(scanned.err, PF_Err_NONE);
    EXPECT_EQ(ramps.Flatten(left, &flat), PF_Err_NONE);
    const host::ArbitraryValue restored = ramps.Unflatten(flat);
    EXPECT_EQ(restored.err, PF_Err_NONE);
    EXPECT_EQ(Text(Keep(restored)), "Ramp withoutSin  line  t 0 v 0 t 1 v 1");
    const PF_ArbitraryH copy = Keep(ramps.Copy(left));
    // A copy of no value is a new default one.
    EXPECT_EQ(Text(Keep(ramps.Copy(nullptr))), kDefaultText);
    PF_ArbCompareResult compared = -1;
    EXPECT_EQ(ramps.Compare(left, copy, &compared), PF_Err_NONE);
    EXPECT_EQ(compared, PF_ArbCompare_EQUAL);
    EXPECT_EQ(ramps.Compare(left, fresh, &compared), PF_Err_NONE);
    EXPECT_EQ(compared, PF_ArbCompare_NOT_EQUAL);

    // Between two keyframes: the left's mode and interpolation, points blended in order.
    const PF_ArbitraryH right = Keep(ramps.Scan("Ramp all  step  t 0 v 1 t 0.5 v 0 t 1 v 1"));
    const host::ArbitraryValue blend = ramps.Interpolate(left, right, 0.5);
    EXPECT_EQ(blend.err, PF_Err_NONE);
    EXPECT_EQ(Text(Keep(blend)), "Ramp withoutSin  line  t 0 v 0.5 t 0.75 v 0.5 t 1 v 1");

    DisposeAll();
    ExpectEveryNewDisposedOnce();
    EXPECT_EQ(host.faults().Calls("host_new_handle"), host.faults().Calls("host_dispose_handle"));
}

TEST_F(RampModuleTest, RefusedRequestsReturnTheirCodeWithoutMessage) {
    const PF_ArbitraryH value = Keep(ramps.New());
    for (A_u_long size : {27u, 29u}) {
        std::vector<uint8_t> buffer(size, 0xAB);
        PF_ArbParamsExtra flatten = ramps.Request(PF_Arbitrary_FLATTEN_FUNC);
        flatten.u.flatten_func_params.arbH = value;
        flatten.u.flatten_func_params.buf_sizeLu = size;
        flatten.u.flatten_func_params.flat_dataPV = buffer.data();
        const host::CommandResult result = effect().Send(PF_Cmd_ARBITRARY_CALLBACK, &flatten);
        EXPECT_EQ(result.err, PF_Err_INTERNAL_STRUCT_DAMAGED);
        EXPECT_EQ(result.Message(), "");
        EXPECT_EQ(buffer, std::vector<uint8_t>(size, 0xAB));
    }
    // The default prints as 30 characters and a NUL: any other size is refused untouched.
    for (A_u_long size : {30u, 32u}) {
        std::vector<char> text(size, 'x');
        PF_ArbParamsExtra print = ramps.Request(PF_Arbitrary_PRINT_FUNC);
        print.u.print_func_params.arbH = value;
        print.u.print_func_params.print_sizeLu = size;
        print.u.print_func_params.print_bufferPC = text.data();
        EXPECT_EQ(ramps.Send(&print), PF_Err_UNRECOGNIZED_PARAM_TYPE);
        EXPECT_EQ(text, std::vector<char>(size, 'x'));
    }
    // Nowhere to put an answer.
    PF_ArbParamsExtra sizing = ramps.Request(PF_Arbitrary_FLAT_SIZE_FUNC);
    sizing.u.flat_size_func_params.arbH = value;
    EXPECT_EQ(ramps.Send(&sizing), PF_Err_BAD_CALLBACK_PARAM);
    PF_ArbParamsExtra compare = ramps.Request(PF_Arbitrary_COMPARE_FUNC);
    compare.u.compare_func_params.a_arbH = value;
    compare.u.compare_func_params.b_arbH = value;
    EXPECT_EQ(ramps.Send(&compare), PF_Err_BAD_CALLBACK_PARAM);
    PF_ArbParamsExtra made = ramps.Request(PF_Arbitrary_NEW_FUNC);
    EXPECT_EQ(ramps.Send(&made), PF_Err_BAD_CALLBACK_PARAM);

    // A saved record cut short and text that is not a ramp: the value made for them comes
    // back with the code, and the host gives it back as any other.
    const host::ArbitraryValue damaged =
        ramps.Unflatten({1, 0, 0, 0, 3, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    EXPECT_EQ(damaged.err, PF_Err_INTERNAL_STRUCT_DAMAGED);
    EXPECT_EQ(Text(Keep(damaged)), "Ramp withoutSin  bezier  t 0 v 0");
    const host::ArbitraryValue rejected = ramps.Scan("Ramp all  sin  t 0 v");
    EXPECT_EQ(rejected.err, PF_Err_UNRECOGNIZED_PARAM_TYPE);
    EXPECT_EQ(Text(Keep(rejected)), kDefaultText);
    PF_ArbitraryH unscanned = nullptr;
    PF_ArbParamsExtra noText = ramps.Request(PF_Arbitrary_SCAN_FUNC);
    noText.u.scan_func_params.bytes_to_scanLu = 100;
    noText.u.scan_func_params.arbPH = &unscanned;
    EXPECT_EQ(ramps.Send(&noText), PF_Err_UNRECOGNIZED_PARAM_TYPE);
    Keep({PF_Err_NONE, unscanned});
    // The text PRINT gives with its terminating NUL, as a host may pass it back.
    const host::ArbitraryValue withNul = ramps.Scan(std::string(kDefaultText) + '\0');
    EXPECT_EQ(withNul.err, PF_Err_NONE);
    EXPECT_EQ(Text(Keep(withNul)), kDefaultText);

    DisposeAll();
    ExpectEveryNewDisposedOnce();
}

// One request of each selector on values made beforehand, its outputs kept for disposal.
host::ArbitraryValue Exercise(const host::ArbitraryValues& ramps, PF_FunctionSelector selector,
                              PF_ArbitraryH a, PF_ArbitraryH b) {
    switch (selector) {
        case PF_Arbitrary_NEW_FUNC:
            return ramps.New();
        case PF_Arbitrary_DISPOSE_FUNC:
            return {ramps.Dispose(b), nullptr};
        case PF_Arbitrary_COPY_FUNC:
            return ramps.Copy(a);
        case PF_Arbitrary_FLAT_SIZE_FUNC:
        case PF_Arbitrary_FLATTEN_FUNC: {
            std::vector<uint8_t> bytes;
            return {ramps.Flatten(a, &bytes), nullptr};
        }
        case PF_Arbitrary_UNFLATTEN_FUNC:
            return ramps.Unflatten({0, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
        case PF_Arbitrary_INTERP_FUNC:
            return ramps.Interpolate(a, b, 0.25);
        case PF_Arbitrary_COMPARE_FUNC: {
            PF_ArbCompareResult result;
            return {ramps.Compare(a, b, &result), nullptr};
        }
        case PF_Arbitrary_PRINT_SIZE_FUNC:
        case PF_Arbitrary_PRINT_FUNC: {
            std::string text;
            return {ramps.Print(a, &text), nullptr};
        }
        default:
            return ramps.Scan(kDefaultText);
    }
}

TEST_F(RampModuleTest, HostFailuresUndoEveryLockAndLoseNoValue) {
    int lockFailures = 0;
    for (PF_FunctionSelector selector = 0; selector <= 10; ++selector) {
        // The nth lock from now gives nothing, for each lock the request takes.
        for (int nth = 1; nth <= 3; ++nth) {
            const PF_ArbitraryH a = Keep(ramps.New());
            const PF_ArbitraryH b = ramps.New().handle;
            const long locksBefore = host.faults().Calls("host_lock_handle");
            host.faults().NullCall("host_lock_handle", nth);
            const host::ArbitraryValue value = Exercise(ramps, selector, a, b);
            const bool failed = host.faults().Calls("host_lock_handle") - locksBefore >= nth;
            host.faults().Clear();
            lockFailures += failed ? 1 : 0;
            // DISPOSE tries a lock that gave nothing once more, and so gives its value back.
            const bool reported = failed && selector != PF_Arbitrary_DISPOSE_FUNC;
            EXPECT_EQ(value.err, reported ? PF_Err_OUT_OF_MEMORY : PF_Err_NONE)
                << "selector " << selector << ", lock " << nth;
            Keep(value);
            if (!(selector == PF_Arbitrary_DISPOSE_FUNC && value.err == PF_Err_NONE)) {
                Keep({PF_Err_NONE, b});
            }
            DisposeAll();
            ExpectEveryNewDisposedOnce();
        }
    }

    // Locks taken, up to three: NEW and DISPOSE one; COPY and INTERP three (their new value
    // and the values they read); the rest two (a new value, or the size asked before).
    EXPECT_EQ(lockFailures, 1 + 1 + 3 + 3 + 7 * 2);

    // No memory for a new value: every request that answers with one fails with
    // PF_Err_OUT_OF_MEMORY before any lock, and the slot keeps what the host left in it.
    const PF_ArbitraryH a = Keep(ramps.New());
    for (PF_FunctionSelector selector : {0, 2, 5, 6, 10}) {
        const long locks = host.faults().Calls("host_lock_handle");
        host.faults().NullCall("host_new_handle", 1);
        const host::ArbitraryValue value = Exercise(ramps, selector, a, a);
        host.faults().Clear();
        EXPECT_EQ(value.err, PF_Err_OUT_OF_MEMORY) << selector;
        EXPECT_EQ(value.handle, nullptr);
        EXPECT_EQ(host.faults().Calls("host_lock_handle"), locks) << selector;
    }
    int notAHandle = 0;
    PF_ArbitraryH untouched = reinterpret_cast<PF_ArbitraryH>(&notAHandle);
    PF_ArbParamsExtra fresh = ramps.Request(PF_Arbitrary_NEW_FUNC);
    fresh.u.new_func_params.arbPH = &untouched;
    host.faults().NullCall("host_new_handle", 1);
    EXPECT_EQ(ramps.Send(&fresh), PF_Err_OUT_OF_MEMORY);
    host.faults().Clear();
    EXPECT_EQ(untouched, reinterpret_cast<PF_ArbitraryH>(&notAHandle));

    // No value where one is read: a lock that gave nothing, without asking the host to lock.
    const long locksBefore = host.faults().Calls("host_lock_handle");
    for (PF_FunctionSelector selector : {3, 4, 6, 7, 8, 9}) {
        const host::ArbitraryValue value = Exercise(ramps, selector, nullptr, nullptr);
        EXPECT_EQ(value.err, PF_Err_OUT_OF_MEMORY) << selector;
        Keep(value);
    }
    EXPECT_EQ(ramps.Dispose(nullptr), PF_Err_NONE);
    // Only INTERP's new value was locked.
    EXPECT_EQ(host.faults().Calls("host_lock_handle") - locksBefore, 1);

    // A DISPOSE whose value stays out of reach leaves it to the host, which can dispose it
    // again.
    const PF_ArbitraryH unreachable = ramps.New().handle;
    host.faults().NullCall("host_lock_handle", 1);
    host.faults().NullCall("host_lock_handle", 2);
    EXPECT_EQ(ramps.Dispose(unreachable), PF_Err_OUT_OF_MEMORY);
    host.faults().Clear();
    EXPECT_EQ(ramps.Dispose(unreachable), PF_Err_NONE);

    // Without the handle suite every request is PF_Err_BAD_CALLBACK_PARAM and nothing is made;
    // DISPOSE still gives its value back, through the utility callbacks.
    const PF_ArbitraryH disposed = ramps.New().handle;
    host.faults().MakeSuiteUnavailable("PF Handle Suite");
    for (PF_FunctionSelector selector = 0; selector <= 10; ++selector) {
        const host::ArbitraryValue value = Exercise(ramps, selector, a, disposed);
        EXPECT_EQ(value.err, selector == PF_Arbitrary_DISPOSE_FUNC ? PF_Err_NONE
                                                                   : PF_Err_BAD_CALLBACK_PARAM)
            << selector;
        EXPECT_EQ(value.handle, nullptr);
    }
    host.faults().Clear();
    DisposeAll();
    ExpectEveryNewDisposedOnce();
}

}  // namespace
}  // namespace quorvel::testing
