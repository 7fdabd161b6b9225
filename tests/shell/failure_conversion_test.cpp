// Every shape of failure a handler can throw, as EffectMain and the sequence handlers turn it
// into a code and a message.
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <new>
#include <stdexcept>
#include <string>

#include <gtest/gtest.h>

#include "shell/toolkit/failure_conversion.h"

namespace {

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

class FailureConversionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        utils.ansi.sprintf = &UnboundedSprintf;
        in.utils = &utils;
        out.out_flags2 = 0x5A5A;
    }

    template <typename Thrown>
    PF_Err Convert(Thrown thrown) {
        return ConvertFailures(&in, &out, [&]() -> PF_Err { throw thrown; });
    }

    PF_UtilCallbacks utils = {};
    PF_InData in = {};
    PF_OutData out = {};
};

TEST_F(FailureConversionTest, EachShapeBecomesItsCode) {
    EXPECT_EQ(ConvertFailures(&in, &out, [] { return PF_Err_INVALID_INDEX; }), 513);
    EXPECT_EQ(Convert(HostCode(PF_Err_BAD_CALLBACK_PARAM)), 516);
    EXPECT_EQ(Convert(Exception(514)), 514);
    // The host's error enumeration is not a HostCode: it is one of the others.
    EXPECT_EQ(Convert(PF_Err_INTERNAL_STRUCT_DAMAGED), PF_Err_OUT_OF_MEMORY);
    EXPECT_EQ(Convert(std::bad_alloc()), PF_Err_OUT_OF_MEMORY);
    EXPECT_EQ(Convert(ForeignFault()), PF_Err_OUT_OF_MEMORY);
    EXPECT_EQ(Convert(std::runtime_error("not shown")), PF_Err_OUT_OF_MEMORY);
    // None of them posts a message.
    EXPECT_EQ(out.out_flags, 0);
    EXPECT_STREQ(out.return_msg, "");
}

TEST_F(FailureConversionTest, AnExceptionsMessageIsPostedOnlyWhenItHasOne) {
    EXPECT_EQ(Convert(Exception(512, "Failed to get global data")), 512);
    EXPECT_STREQ(out.return_msg, "Failed to get global data");
    EXPECT_EQ(out.out_flags, PF_OutFlag_DISPLAY_ERROR_MESSAGE);
    // A message with a % sign is text, not a format.
    EXPECT_EQ(Convert(Exception(4, "100% %s %n")), 4);
    EXPECT_STREQ(out.return_msg, "100% %s %n");
    // A message longer than the host's field is cut, not written past it.
    EXPECT_EQ(Convert(Exception(4, std::string(1000, 'm'))), 4);
    EXPECT_EQ(std::strlen(out.return_msg), 255u);
    EXPECT_EQ(out.out_flags2, 0x5A5A);

    out = {};
    EXPECT_EQ(Convert(Exception(7)), 7);
    EXPECT_EQ(out.out_flags, 0);
    EXPECT_STREQ(out.return_msg, "");
}

TEST_F(FailureConversionTest, SequenceHandlersKnowOnlyHostCodes) {
    EXPECT_EQ(ConvertFailuresToCode([]() -> PF_Err { throw HostCode(PF_Err_BAD_CALLBACK_PARAM); }),
              516);
    EXPECT_EQ(ConvertFailuresToCode([]() -> PF_Err { throw Exception(512, "lost"); }),
              PF_Err_OUT_OF_MEMORY);
    EXPECT_EQ(ConvertFailuresToCode([]() -> PF_Err { throw PF_Err_BAD_CALLBACK_PARAM; }),
              PF_Err_OUT_OF_MEMORY);
    EXPECT_EQ(ConvertFailuresToCode([] { return PF_Err_NONE; }), PF_Err_NONE);
}

}  // namespace
