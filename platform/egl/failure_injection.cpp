#include "platform/egl/failure_injection.h"

#include <array>
#include <mutex>
#include <string>

#include "platform/egl/no_destructor.h"

namespace platform_egl {
namespace {

using platform_testing::PlatformCall;

struct FailurePlan {
    int skip = 0;
    int times = 0;
};

struct Controls {
    std::mutex mutex;
    std::array<int, static_cast<int>(PlatformCall::Count)> counts{};
    std::array<FailurePlan, static_cast<int>(PlatformCall::Count)> plans{};
    std::string extensions = platform_testing::DefaultExtensionString();
};

Controls& TheControls() {
    static NoDestructor<Controls> controls;
    return controls.Get();
}

}  // namespace

bool CallFails(PlatformCall call) {
    Controls& controls = TheControls();
    std::lock_guard<std::mutex> lock(controls.mutex);
    const int index = static_cast<int>(call);
    ++controls.counts[index];
    FailurePlan& plan = controls.plans[index];
    if (plan.times == 0) {
        return false;
    }
    if (plan.skip > 0) {
        --plan.skip;
        return false;
    }
    if (plan.times > 0) {
        --plan.times;
    }
    return true;
}

const char* CurrentExtensionString() {
    Controls& controls = TheControls();
    std::lock_guard<std::mutex> lock(controls.mutex);
    return controls.extensions.c_str();
}

}  // namespace platform_egl

namespace platform_testing {

using platform_egl::TheControls;

void FailCall(PlatformCall call, int skip, int times) {
    auto& controls = TheControls();
    std::lock_guard<std::mutex> lock(controls.mutex);
    controls.plans[static_cast<int>(call)] = {skip, times};
}

int CallCount(PlatformCall call) {
    auto& controls = TheControls();
    std::lock_guard<std::mutex> lock(controls.mutex);
    return controls.counts[static_cast<int>(call)];
}

void SetExtensionString(const std::string& extensions) {
    auto& controls = TheControls();
    std::lock_guard<std::mutex> lock(controls.mutex);
    controls.extensions = extensions;
}

const char* DefaultExtensionString() {
    return "WGL_ARB_extensions_string WGL_ARB_pixel_format WGL_ARB_create_context "
           "WGL_ARB_create_context_profile";
}

void Reset() {
    auto& controls = TheControls();
    std::lock_guard<std::mutex> lock(controls.mutex);
    controls.counts.fill(0);
    controls.plans.fill({});
    controls.extensions = DefaultExtensionString();
}

}  // namespace platform_testing
