#pragma once

#include <string>
#include <vector>

#include "host/host.h"
#include "host/world.h"

namespace quorvel::host {

// One frame's outcome as the host saw it.
struct FrameResult {
    PF_Err preRenderErr = PF_Err_NONE;
    PF_Err renderErr = PF_Err_NONE;
    // The host's return message after the render.
    std::string message;
    // Input check-outs the effect did not give back, and calls that broke the host's rules.
    int inputCheckoutsLeft = 0;
    int misuses = 0;

    // The first error of the two commands.
    PF_Err Err() const { return preRenderErr != PF_Err_NONE ? preRenderErr : renderErr; }
};

// One frame the way the host renders it: SMART_PRE_RENDER asking for the whole output, then,
// when that succeeded, SMART_RENDER with input as the layer and output as the output world.
FrameResult RenderFrame(EffectInstance& effect, World& input, World& output);

// The frames on threads of their own, all at once, for the same effect instance.
struct FrameWorlds {
    World* input;
    World* output;
};
std::vector<FrameResult> RenderFramesAtOnce(EffectInstance& effect,
                                            const std::vector<FrameWorlds>& frames);

}  // namespace quorvel::host
