#pragma once

#include <map>
#include <string>

#include "host/mask_set.h"
#include "host_api/suites.h"
#include "ramp/scoped_ramp.h"

// A small host for the renderer's unit tests: a basic suite that serves "PF Handle Suite" 2
// (locks give the handle's master pointer) and the host's real path suites over one layer's
// masks, with calls counted by name, one named call made to fail, and a ledger of
// suites, paths and preparations.
class RenderTestHost {
  public:
    RenderTestHost();
    ~RenderTestHost();
    RenderTestHost(const RenderTestHost&) = delete;
    RenderTestHost& operator=(const RenderTestHost&) = delete;

    // The next call of function (counting from now) fails with code; "host_lock_handle"
    // makes the next lock give null.
    void FailNext(const std::string& function, PF_Err code = PF_Err_INTERNAL_STRUCT_DAMAGED);
    long Calls(const std::string& function) const;
    // True when every suite, path and preparation handed out came back.
    bool Balanced() const;
    std::string Outstanding() const;

    quorvel::host::MaskSet masks;
    PF_InData inData{};
    SPBasicSuite basic{};

    // Counters shared with the static host functions.
    std::map<std::string, long> calls;
    std::map<std::string, long> ledger;
    std::string failing;
    PF_Err failingCode = 0;
};

// A ramp in a handle of its own, as a parameter holds it.
class RampHandle {
  public:
    RampHandle(int32_t interpolation, std::initializer_list<std::pair<const float, float>> points)
        : ramp(RampMode_All, interpolation, points), master(&ramp.ramp), handle(&master) {}
    RampHandle(const RampHandle&) = delete;
    RampHandle& operator=(const RampHandle&) = delete;

    ScopedRamp ramp;
    void* master;
    PF_Handle handle;
};
