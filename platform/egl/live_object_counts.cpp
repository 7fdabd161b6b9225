#include <mutex>
#include <string>

#include "platform/egl/platform_state.h"
#include "platform/testing.h"

namespace platform_testing {

using platform_egl::PlatformState;
using platform_egl::State;

int LiveWindowCount() {
    PlatformState& state = State();
    std::lock_guard<std::mutex> lock(state.mutex);
    return static_cast<int>(state.windows.size());
}

int RegisteredClassCount() {
    PlatformState& state = State();
    std::lock_guard<std::mutex> lock(state.mutex);
    return static_cast<int>(state.classes.size());
}

int LiveContextCount() {
    PlatformState& state = State();
    std::lock_guard<std::mutex> lock(state.mutex);
    return static_cast<int>(state.contexts.size());
}

bool IsClassRegistered(const std::string& className) {
    PlatformState& state = State();
    std::lock_guard<std::mutex> lock(state.mutex);
    return state.classes.count(className) != 0;
}

}  // namespace platform_testing
