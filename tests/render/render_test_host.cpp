#include "render_test_host.h"

#include <cstring>

#include "host/path_suites.h"

namespace {

RenderTestHost* g_host = nullptr;

// Counts the call and tells whether it is the one made to fail.
PF_Err Enter(const char* function) {
    ++g_host->calls[function];
    if (g_host->failing == function) {
        g_host->failing.clear();
        return g_host->failingCode;
    }
    return PF_Err_NONE;
}

void* Lock(PF_Handle handle) {
    return Enter("host_lock_handle") != PF_Err_NONE ? nullptr : *handle;
}
void Unlock(PF_Handle) {
    Enter("host_unlock_handle");
}

const PF_HandleSuite2 kHandleSuite = {nullptr, &Lock, &Unlock, nullptr, nullptr, nullptr};

SPErr Acquire(const char* name, A_long version, const void** suite) {
    *suite = nullptr;
    if (Enter("AcquireSuite") != PF_Err_NONE) {
        return 1;
    }
    if (std::strcmp(name, kPFHandleSuite) == 0 && version == 2) {
        *suite = &kHandleSuite;
    } else if (std::strcmp(name, kPFPathQuerySuite) == 0 && version == 1) {
        *suite = quorvel::host::PathSuites::Query();
    } else if (std::strcmp(name, kPFPathDataSuite) == 0 && version == 1) {
        *suite = quorvel::host::PathSuites::Data();
    } else {
        return 1;
    }
    ++g_host->ledger[std::string("suite ") + name];
    return 0;
}

SPErr Release(const char* name, A_long) {
    --g_host->ledger[std::string("suite ") + name];
    return 0;
}

const quorvel::host::MaskSet* MasksOf(PF_ProgPtr effectRef) {
    return effectRef == g_host ? &g_host->masks : nullptr;
}
void Count(const char* kind, int delta) {
    g_host->ledger[kind] += delta;
}

}  // namespace

RenderTestHost::RenderTestHost() {
    g_host = this;
    basic.AcquireSuite = &Acquire;
    basic.ReleaseSuite = &Release;
    inData.effect_ref = this;
    inData.pica_basicP = &basic;
    inData.current_time = 0;
    inData.time_step = 1;
    inData.time_scale = 24;
    inData.width = 200;
    inData.height = 100;
    quorvel::host::PathSuiteHooks hooks;
    hooks.masksOf = &MasksOf;
    hooks.fault = &Enter;
    hooks.count = &Count;
    quorvel::host::PathSuites::Install(hooks);
}

RenderTestHost::~RenderTestHost() {
    quorvel::host::PathSuites::Install(quorvel::host::PathSuiteHooks{});
    g_host = nullptr;
}

void RenderTestHost::FailNext(const std::string& function, PF_Err code) {
    failing = function;
    failingCode = code;
}

long RenderTestHost::Calls(const std::string& function) const {
    const auto found = calls.find(function);
    return found == calls.end() ? 0 : found->second;
}

bool RenderTestHost::Balanced() const {
    return Outstanding().empty();
}

std::string RenderTestHost::Outstanding() const {
    std::string text;
    for (const auto& entry : ledger) {
        if (entry.second != 0) {
            text += entry.first + " " + std::to_string(entry.second) + "\n";
        }
    }
    const long locks = Calls("host_lock_handle") - Calls("host_unlock_handle");
    if (locks != 0) {
        text += "locks " + std::to_string(locks) + "\n";
    }
    return text;
}
