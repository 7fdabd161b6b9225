#include "shell/toolkit/suite_handler.h"

namespace {

// Name and version of a slot, as the host's basic suite knows them.
struct SuiteName {
    const char* name;
    A_long version;
};

constexpr SuiteName kSuiteNames[] = {
    {"PF Handle Suite", 2},
    {"PF ANSI Suite", 1},
    {"PF Param Utils Suite", 3},
    {"PF Path Query Suite", 1},
    {"PF Path Data Suite", 1},
    {"PF iterateFloat Suite", 1},
    {"PF Effect Custom UI Suite", 1},
    {"DRAWBOT Draw Suite", 1},
    {"DRAWBOT Supplier Suite", 1},
    {"DRAWBOT Surface Suite", 2},
    {"AEGP Utility Suite", 7},
    {"AEGP PF Interface Suite", 1},
    {"AEGP Effect Suite", 2},
    {"AEGP Stream Suite", 7},
    {"AEGP Stream Suite", 9},
    {"AEGP Stream Suite", 10},
    {"AEGP Dynamic Stream Suite", 5},
    {"AEGP Layer Mask Suite", 7},
    {"AEGP Mask Outline Suite", 5},
    {"AEGP Memory Suite", 1},
};
static_assert(sizeof(kSuiteNames) / sizeof(kSuiteNames[0]) ==
                  static_cast<size_t>(SuiteSlot::Count),
              "every suite slot needs its name and version");

}  // namespace

SuiteHandler::SuiteHandler(SPBasicSuite* basicSuite) : basic(basicSuite) {
    if (basic == nullptr) {
        MissingSuiteError();
    }
}

SuiteHandler::~SuiteHandler() { ReleaseAllSuites(); }

void SuiteHandler::MissingSuiteError() { throw static_cast<int>(PF_Err_BAD_CALLBACK_PARAM); }

void SuiteHandler::ReleaseAllSuites() {
    for (size_t i = 0; i < suites_.size(); ++i) {
        if (suites_[i] != nullptr) {
            const SuiteName pair = kSuiteNames[i];
            basic->ReleaseSuite(pair.name, pair.version);
            suites_[i] = nullptr;
        }
    }
}

const void* SuiteHandler::Acquire(SuiteSlot slot) {
    const size_t index = static_cast<size_t>(slot);
    if (suites_[index] == nullptr) {
        const SuiteName pair = kSuiteNames[index];
        const void* suite = nullptr;
        const SPErr result = basic->AcquireSuite(pair.name, pair.version, &suite);
        if (result != kSPNoError || suite == nullptr) {
            MissingSuiteError();
        }
        suites_[index] = suite;
    }
    return suites_[index];
}
