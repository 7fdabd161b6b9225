#include "host/frame_driver.h"

#include <thread>

#include "host/frame_job.h"

namespace quorvel::host {

FrameResult RenderFrame(EffectInstance& effect, World& input, World& output) {
    FrameResult result;
    FrameJob job;
    job.input = &input;
    job.output = &output;
    FrameJobScope scope(job);

    // The layer's size in in_data is the input's.
    InstanceSettings settings = effect.Settings();
    if (settings.width != input.Width() || settings.height != input.Height()) {
        settings.width = input.Width();
        settings.height = input.Height();
        effect.SetSettings(settings);
    }

    PF_RenderRequest request{};
    request.rect = {0, 0, output.Width(), output.Height()};
    request.channel_mask = 0xF;
    const PreRenderResult preRender = effect.SmartPreRender(request);
    result.preRenderErr = preRender.command.err;
    if (result.preRenderErr == PF_Err_NONE) {
        PF_SmartRenderInput renderInput{};
        renderInput.output_request = request;
        // Bits per channel: 8, 16 or 32.
        renderInput.bitdepth = static_cast<A_short>(BytesPerPixelOf(input.PixelDepth()) / 4 * 8);
        PF_SmartRenderExtra extra{};
        extra.input = &renderInput;
        extra.cb = const_cast<PF_SmartRenderCallbacks*>(SmartRenderCallbacks());
        const CommandResult render = effect.Send(PF_Cmd_SMART_RENDER, &extra, output.Effect());
        result.renderErr = render.err;
        result.message = render.Message();
    }
    result.inputCheckoutsLeft = job.inputCheckouts;
    result.misuses = job.misuses;
    return result;
}

std::vector<FrameResult> RenderFramesAtOnce(EffectInstance& effect,
                                            const std::vector<FrameWorlds>& frames) {
    std::vector<FrameResult> results(frames.size());
    std::vector<std::thread> threads;
    threads.reserve(frames.size());
    for (size_t i = 0; i < frames.size(); ++i) {
        threads.emplace_back([&effect, &frames, &results, i] {
            results[i] = RenderFrame(effect, *frames[i].input, *frames[i].output);
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    return results;
}

}  // namespace quorvel::host
