#pragma once

#include "host/world.h"
#include "host_api/effect.h"

namespace quorvel::host {

// One frame the host asks of the effect: the input layer's world and the output world, and
// what of them the effect holds. The smart-render callbacks of the thread that renders the
// frame act on it while a FrameJobScope is alive on that thread.
struct FrameJob {
    World* input = nullptr;
    World* output = nullptr;
    // Check-outs of the input under checkout id 0 not yet checked in.
    int inputCheckouts = 0;
    // Unpaired check-ins and check-outs of ids never requested: a well-behaved effect has none.
    int misuses = 0;
};

class FrameJobScope {
  public:
    explicit FrameJobScope(FrameJob& job);
    ~FrameJobScope();
    FrameJobScope(const FrameJobScope&) = delete;
    FrameJobScope& operator=(const FrameJobScope&) = delete;

  private:
    FrameJob* previous_;
};

// checkout_layer_pixels, checkout_output, checkin_layer_pixels.
const PF_SmartRenderCallbacks* SmartRenderCallbacks();

}  // namespace quorvel::host
