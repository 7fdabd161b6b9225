// What no host command can reach: suites acquired outside the cache with the messages they
// post, a suite answered with an error and a table, each shape of failure as EffectMain and
// the sequence handlers turn it into a code and a message, the rectangle union, the string
// table, and GLOBAL_SETDOWN after a failed OpenGL teardown.
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <new>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "shell/global_commands.h"
#include "shell/string_table.h"
#include "shell/toolkit/aefx_suite.h"
#include "shell/toolkit/drawbot_suites.h"
#include "shell/toolkit/failure_conversion.h"
#include "shell/toolkit/suite_handler.h"
#include "shell/union_rect.h"
#include "tests/support/recording_basic_suite.h"

namespace quorvel::testing {
namespace {

const char kAcquireMessage[] = "Not able to acquire AEFX Suite.";
const char kReleaseMessage[] = "Not able to release AEFX Suite.";

// Distinct tables to tell the suites apart.
const PF_ANSICallbacksSuite1 kAnsi = {};
const DRAWBOT_DrawbotSuite1 kDraw = {};
const DRAWBOT_SupplierSuite1 kSupplier = {};
const DRAWBOT_SurfaceSuite2 kSurface = {};
const DRAWBOT_PathSuite1 kPath = {};

TEST(SuitesTest, AefxSuitesDecideByThePointerAloneAndPostTheirMessages) {
    RecordingBasicSuite basic;
    PF_InData in = basic.InData();
    PF_OutData out = {};
    const void* suite = nullptr;
    basic.Serve("PF ANSI Suite", 1, &kAnsi);
    // An error code with a table is success here, but failure in the cache.
    basic.AnswerWith("PF ANSI Suite", 1, 5);
    EXPECT_EQ(AEFX_AcquireSuite(&in, &out, "PF ANSI Suite", 1, nullptr, &suite), PF_Err_NONE);
    EXPECT_EQ(suite, &kAnsi);
    EXPECT_EQ(out.out_flags, 0);
    EXPECT_THROW(SuiteHandler(basic.suite()).ANSISuite1(), HostCode);
    // Success without a table is failure; the caller's own message wins.
    basic.AnswerWith("PF World Suite", 2, kSPNoError);
    EXPECT_EQ(AEFX_AcquireSuite(&in, &out, "PF World Suite", 2, nullptr, &suite),
              PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(suite, nullptr);
    EXPECT_STREQ(out.return_msg, kAcquireMessage);
    EXPECT_EQ(out.out_flags, PF_OutFlag_DISPLAY_ERROR_MESSAGE);
    EXPECT_EQ(AEFX_AcquireSuite(&in, &out, "PF World Suite", 2, "No world suite.", &suite),
              PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_STREQ(out.return_msg, "No world suite.");

    // The Drawbot suites in order, up to the first that is missing; released by the record,
    // exactly those acquired go back.
    basic.Serve("DRAWBOT Draw Suite", 1, &kDraw);
    basic.Serve("DRAWBOT Supplier Suite", 1, &kSupplier);
    basic.Serve("DRAWBOT Path Suite", 1, &kPath);
    DrawbotSuites suites = {};
    out = {};
    EXPECT_EQ(AEFX_AcquireDrawbotSuites(&in, &out, &suites), PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_STREQ(out.return_msg, kAcquireMessage);
    EXPECT_EQ(suites.supplierSuite, &kSupplier);
    EXPECT_EQ(suites.pathSuite, nullptr);
    EXPECT_EQ(AEFX_ReleaseDrawbotSuites(&in, &out, &suites), PF_Err_NONE);
    EXPECT_EQ(suites.drawSuite, nullptr);
    basic.Serve("DRAWBOT Surface Suite", 2, &kSurface);
    out = {};
    EXPECT_EQ(AEFX_AcquireDrawbotSuites(&in, &out, &suites), PF_Err_NONE);
    EXPECT_EQ(std::vector<const void*>(
                  {suites.drawSuite, suites.supplierSuite, suites.surfaceSuite, suites.pathSuite}),
              std::vector<const void*>({&kDraw, &kSupplier, &kSurface, &kPath}));
    EXPECT_EQ(AEFX_ReleaseDrawbotSuites(&in, &out), PF_Err_NONE);
    EXPECT_EQ(out.out_flags, 0);
    const std::string draw = " DRAWBOT Draw Suite 1", supplier = " DRAWBOT Supplier Suite 1";
    const std::string surface = " DRAWBOT Surface Suite 2", path = " DRAWBOT Path Suite 1";
    EXPECT_EQ(std::vector<std::string>(basic.calls().begin() + 4, basic.calls().end()),
              (std::vector<std::string>{"acquire" + draw, "acquire" + supplier, "acquire" + surface,
                                        "release" + draw, "release" + supplier, "acquire" + draw,
                                        "acquire" + supplier, "acquire" + surface, "acquire" + path,
                                        "release" + draw, "release" + supplier, "release" + surface,
                                        "release" + path}));
    EXPECT_EQ(AEFX_AcquireDrawbotSuites(&in, &out, nullptr), PF_Err_UNRECOGNIZED_PARAM_TYPE);
    EXPECT_STREQ(out.return_msg, "NULL suite pointer passed to AEFX_AcquireDrawbotSuites");
    EXPECT_EQ(out.out_flags, PF_OutFlag_DISPLAY_ERROR_MESSAGE);

    // Without a basic suite each posts its default message; the Drawbot release still reports
    // success.
    const size_t calls = basic.calls().size();
    in.pica_basicP = nullptr;
    EXPECT_EQ(AEFX_AcquireSuite(&in, &out, "PF ANSI Suite", 1, nullptr, &suite),
              PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_STREQ(out.return_msg, kAcquireMessage);
    EXPECT_EQ(AEFX_ReleaseSuite(&in, &out, "PF ANSI Suite", 1, nullptr), PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_STREQ(out.return_msg, kReleaseMessage);
    out = {};
    EXPECT_EQ(AEFX_ReleaseDrawbotSuites(&in, &out), PF_Err_NONE);
    EXPECT_STREQ(out.return_msg, kReleaseMessage);
    EXPECT_EQ(out.out_flags, PF_OutFlag_DISPLAY_ERROR_MESSAGE);
    EXPECT_EQ(basic.calls().size(), calls);
}

// Like a host whose sprintf knows no bounds.
A_long UnboundedSprintf(A_char* buffer, const A_char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    const int length = std::vsprintf(buffer, format, arguments);
    va_end(arguments);
    return length;
}

// Stands for the failures of other code, which no handler names.
struct ForeignFault : std::exception {};

template <typename Thrown>
PF_Err Convert(PF_OutData* out, Thrown thrown) {
    static PF_UtilCallbacks utils = {};
    utils.ansi.sprintf = &UnboundedSprintf;
    PF_InData in = {};
    in.utils = &utils;
    return ConvertFailures(&in, out, [&]() -> PF_Err { throw thrown; });
}

TEST(FailureConversionTest, EachShapeBecomesItsCodeAndOnlyAnExceptionsTextIsPosted) {
    PF_OutData out = {};
    out.out_flags2 = 0x5A5A;
    // The host's error enumeration is not a HostCode: it is one of the others.
    EXPECT_EQ(std::vector<PF_Err>({Convert(&out, HostCode(516)), Convert(&out, Exception(514)),
                                   Convert(&out, PF_Err_INTERNAL_STRUCT_DAMAGED),
                                   Convert(&out, std::bad_alloc()), Convert(&out, ForeignFault()),
                                   Convert(&out, std::runtime_error("not shown"))}),
              std::vector<PF_Err>({516, 514, 4, 4, 4, 4}));
    EXPECT_EQ(out.out_flags, 0);
    EXPECT_STREQ(out.return_msg, "");
    // A message with a % sign is text, not a format.
    EXPECT_EQ(Convert(&out, Exception(512, "100% %s %n")), 512);
    EXPECT_STREQ(out.return_msg, "100% %s %n");
    EXPECT_EQ(out.out_flags, PF_OutFlag_DISPLAY_ERROR_MESSAGE);
    // A message longer than the host's field is cut, not written past it.
    EXPECT_EQ(Convert(&out, Exception(4, std::string(1000, 'm'))), 4);
    EXPECT_EQ(std::strlen(out.return_msg), 255u);
    EXPECT_EQ(out.out_flags2, 0x5A5A);
    // The sequence handlers know only host codes.
    EXPECT_EQ(ConvertFailuresToCode([]() -> PF_Err { throw HostCode(516); }), 516);
    EXPECT_EQ(ConvertFailuresToCode([]() -> PF_Err { throw Exception(512, "lost"); }), 4);
    EXPECT_EQ(ConvertFailuresToCode([]() -> PF_Err { throw PF_Err_BAD_CALLBACK_PARAM; }), 4);
}

TEST(ShellHelpersTest, UnionRectAndStringTable) {
    const auto unite = [](PF_LRect source, PF_LRect target) {
        UnionRect(&source, &target);
        return std::vector<A_long>{target.left, target.top, target.right, target.bottom};
    };
    // An empty source leaves the target (the pre-render test joins rectangles that are not).
    EXPECT_EQ(unite({5, 5, 5, 9}, {2, 2, 4, 4}), (std::vector<A_long>{2, 2, 4, 4}));
    // An empty target, by either axis, takes the source as it is, empty or not.
    EXPECT_EQ(unite({7, 7, 3, 3}, {4, 4, 4, 9}), (std::vector<A_long>{7, 7, 3, 3}));
    EXPECT_EQ(unite({0, 0, 100, 100}, {2, 9, 4, 9}), (std::vector<A_long>{0, 0, 100, 100}));
    EXPECT_STREQ(LookupString(0xFFFFFFFFu), "");
}

std::vector<PF_Handle> disposed;

void Dispose(PF_Handle handle) {
    disposed.push_back(handle);
}

TEST(GlobalSetdownTest, AFailedTeardownKeepsTheGlobalDataButNotTheSequenceData) {
    RecordingBasicSuite basic;
    PF_HandleSuite2 handles = {};
    handles.host_dispose_handle = &Dispose;
    basic.Serve(kPFHandleSuite, kPFHandleSuiteVersion2, &handles);
    PF_InData in = basic.InData();
    in.utils->host_dispose_handle = &Dispose;
    void* global = nullptr;
    void* sequence = nullptr;
    in.global_data = &global;
    in.sequence_data = &sequence;
    const std::pair<PF_Err, std::vector<PF_Handle>> cases[] = {{PF_Err_OUT_OF_MEMORY, {&sequence}},
                                                               {PF_Err_NONE, {&global, &sequence}}};
    for (const auto& [teardown, expected] : cases) {
        disposed.clear();
        PF_OutData out = {};
        out.sequence_data = in.sequence_data;
        EXPECT_EQ(FinishGlobalSetdown(&in, &out, teardown), teardown);
        EXPECT_EQ(out.sequence_data, nullptr);
        EXPECT_EQ(disposed, expected) << teardown;
    }
}

}  // namespace
}  // namespace quorvel::testing
