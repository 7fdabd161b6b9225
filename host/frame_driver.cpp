#include "host/frame_driver.h"

#include <thread>

#include "host/frame_hooks.h"
#include "host/frame_job.h"
#include "host/frame_suites.h"

namespace quorvel::host {

namespace {

CallFault HostFault(const char* function) {
    const auto fault = Host::Current().faults().Enter(function);
    if (!fault) {
        return {};
    }
    if (fault->kind == Fault::Kind::Null) {
        return {PF_Err_NONE, true};
    }
    return {fault->code, false};
}

void HostCount(const char* kind, int delta) {
    Ledger& ledger = Host::Current().ledger();
    if (delta > 0) {
        ledger.Take(kind);
    } else if (!ledger.GiveHeld(kind)) {
        ledger.Misuse(std::string("gave back ") + kind + " it did not hold");
    }
}

}  // namespace

void AttachFrameSuites(Host& host) {
    host.suites().Add({kPFWorldSuite, kPFWorldSuiteVersion2, WorldSuite2()});
    host.suites().Add({kPFPixelDataSuite, kPFPixelDataSuiteVersion1, PixelDataSuite1()});
    host.suites().Add({kPFIterateFloatSuite, kPFIterateFloatSuiteVersion1, IterateFloatSuite1()});
    host.suites().Add({kPFAppSuite, kPFAppSuiteVersion6, AppSuite6()});
    InstallFrameHooks({HostFault, HostCount});
}

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
        const CommandResult render =
            effect.Send(PF_Cmd_SMART_RENDER, &extra, output.Effect());
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
