#include "shell/toolkit/suite_handler.h"

#include "shell/toolkit/aefx_suite.h"
#include "shell/toolkit/errors.h"

namespace {

constexpr SuiteName kSuiteNames[] = {
#define QUORVEL_SUITE_NAME(slot, Table, name, version) {name, version},
    QUORVEL_SUITES(QUORVEL_SUITE_NAME)
#undef QUORVEL_SUITE_NAME
};

size_t IndexOf(SuiteSlot slot) { return static_cast<size_t>(slot); }

}  // namespace

SuiteName SuiteNameOf(SuiteSlot slot) { return kSuiteNames[IndexOf(slot)]; }

SuiteHandler::SuiteHandler(SPBasicSuite* basicSuite) : basic(basicSuite) {
    if (basic == nullptr) {
        MissingSuiteError();
    }
}

SuiteHandler::~SuiteHandler() { ReleaseAllSuites(); }

void SuiteHandler::MissingSuiteError() { throw HostCode(PF_Err_BAD_CALLBACK_PARAM); }

void SuiteHandler::ReleaseAllSuites() {
    for (size_t i = 0; i < suites_.size(); ++i) {
        Release(static_cast<SuiteSlot>(i));
    }
}

void SuiteHandler::Release(SuiteSlot slot) {
    const void*& held = suites_[IndexOf(slot)];
    if (held != nullptr) {
        const SuiteName pair = SuiteNameOf(slot);
        basic->ReleaseSuite(pair.name, pair.version);
        held = nullptr;
    }
}

const void* SuiteHandler::Acquire(SuiteSlot slot) {
    const void* suite = Find(slot);
    if (suite == nullptr) {
        MissingSuiteError();
    }
    return suite;
}

const void* SuiteHandler::Find(SuiteSlot slot) noexcept {
    const void*& held = suites_[IndexOf(slot)];
    if (held == nullptr) {
        const SuiteName pair = SuiteNameOf(slot);
        const void* suite = nullptr;
        const SPErr result = basic->AcquireSuite(pair.name, pair.version, &suite);
        if (result == kSPNoError) {
            held = suite;
        }
    }
    return held;
}

const void* SuiteHandler::AcquireAnnounced(SuiteSlot slot, PF_InData* in_data,
                                           PF_OutData* out_data, const char* message) {
    const void*& held = suites_[IndexOf(slot)];
    if (held == nullptr) {
        const SuiteName pair = SuiteNameOf(slot);
        AEFX_AcquireSuite(in_data, out_data, pair.name, pair.version, message, &held);
    }
    return held;
}
