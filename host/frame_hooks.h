#pragma once

#include "host_api/effect.h"

namespace quorvel::host {

// What a host call of a frame is made to do instead of its work: fail with a code, or report
// success while giving nothing (a null world or pixel pointer).
struct CallFault {
    PF_Err code = PF_Err_NONE;
    bool giveNull = false;
};

// What the world, pixel, App and smart-render calls need from the rest of the host.
struct FrameHooks {
    // Fault injection, asked once per call with the call's name before it does anything.
    CallFault (*fault)(const char* function) = nullptr;
    // The ledger: +1 when something is handed out, -1 when it is given back. Kinds are
    // "layer pixels" (input check-outs) and "output" (output check-outs of a frame).
    void (*count)(const char* kind, int delta) = nullptr;
};

void InstallFrameHooks(const FrameHooks& hooks);

// The installed fault for a call, or none.
CallFault FaultFor(const char* function);
void CountFrameObject(const char* kind, int delta);

}  // namespace quorvel::host
