#include "tests/support/recording_basic_suite.h"

#include <cstdarg>
#include <cstdio>

namespace quorvel::testing {

namespace {

RecordingBasicSuite* living = nullptr;

// Like the host's: formats into a 256-byte message.
A_long Sprintf(A_char* buffer, const A_char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    const int length = std::vsnprintf(buffer, PF_MAX_EFFECT_MSG_LEN + 1, format, arguments);
    va_end(arguments);
    return length;
}

}  // namespace

RecordingBasicSuite::RecordingBasicSuite()
    : suite_{&Acquire, &Release, nullptr, nullptr, nullptr, nullptr, nullptr}, utils_{} {
    utils_.ansi.sprintf = &Sprintf;
    living = this;
}

RecordingBasicSuite::~RecordingBasicSuite() {
    living = nullptr;
}

PF_InData RecordingBasicSuite::InData() {
    PF_InData in = {};
    in.pica_basicP = &suite_;
    in.utils = &utils_;
    return in;
}

SPErr RecordingBasicSuite::Acquire(const char* name, A_long version, const void** suite) {
    living->calls_.push_back(std::string("acquire ") + name + " " + std::to_string(version));
    const auto table = living->tables_.find({name, version});
    *suite = table == living->tables_.end() ? nullptr : table->second;
    const auto answer = living->answers_.find({name, version});
    if (answer != living->answers_.end()) {
        return answer->second;
    }
    return *suite != nullptr ? kSPNoError : 1;
}

SPErr RecordingBasicSuite::Release(const char* name, A_long version) {
    living->calls_.push_back(std::string("release ") + name + " " + std::to_string(version));
    return kSPNoError;
}

}  // namespace quorvel::testing
