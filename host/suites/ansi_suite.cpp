#include "host/suites/ansi_suite.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "host/host.h"
#include "host/suite_registry.h"

namespace quorvel::host {

namespace {

constexpr size_t kMessageSize = PF_MAX_EFFECT_MSG_LEN + 1;

A_long Sprintf(A_char* buffer, const A_char* format, ...) {
    Host& host = Host::Current();
    if (const auto fault = host.faults().Enter("sprintf")) {
        return fault->kind == Fault::Kind::Error ? -1 : 0;
    }
    if (buffer == nullptr || format == nullptr) {
        host.ledger().Misuse("sprintf without a buffer or a format");
        return -1;
    }
    va_list arguments;
    va_start(arguments, format);
    const int length = std::vsnprintf(buffer, kMessageSize, format, arguments);
    va_end(arguments);
    if (length < 0) {
        buffer[0] = '\0';
        return -1;
    }
    return length < static_cast<int>(kMessageSize) ? length : static_cast<A_long>(kMessageSize - 1);
}

A_char* Strcpy(A_char* dest, const A_char* src) {
    Host& host = Host::Current();
    if (const auto fault = host.faults().Enter("strcpy")) {
        return fault->kind == Fault::Kind::Null ? nullptr : dest;
    }
    if (dest == nullptr || src == nullptr) {
        host.ledger().Misuse("strcpy without a destination or a source");
        return dest;
    }
    const size_t length = strnlen(src, kMessageSize - 1);
    std::memmove(dest, src, length);
    dest[length] = '\0';
    return dest;
}

const PF_ANSICallbacksSuite1 kANSISuite = {&Sprintf, &Strcpy};

}  // namespace

const PF_ANSICallbacksSuite1& AnsiSuiteTable() {
    return kANSISuite;
}

extern const SuiteDefinition kANSISuite1 = {kPFANSISuite, kPFANSISuiteVersion1, &kANSISuite};

}  // namespace quorvel::host
