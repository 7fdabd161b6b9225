#include <mutex>
#include <string>
#include <vector>

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

WNDCLASSEXA RegisteredClassFields(const std::string& className) {
    PlatformState& state = State();
    std::lock_guard<std::mutex> lock(state.mutex);
    const auto found = state.classes.find(className);
    return found != state.classes.end() ? found->second.fields : WNDCLASSEXA{};
}

WindowArguments CreatedWindowArguments(HWND window) {
    PlatformState& state = State();
    std::lock_guard<std::mutex> lock(state.mutex);
    const HWND__* record = platform_egl::FindWindowLocked(state, window);
    return record != nullptr ? record->arguments : WindowArguments{};
}

PIXELFORMATDESCRIPTOR RequestedPixelFormat(HDC deviceContext) {
    PlatformState& state = State();
    std::lock_guard<std::mutex> lock(state.mutex);
    const HDC__* record = platform_egl::FindDeviceContextLocked(state, deviceContext);
    return record != nullptr ? record->requestedPixelFormat : PIXELFORMATDESCRIPTOR{};
}

std::vector<int> ContextAttributes(HGLRC context) {
    PlatformState& state = State();
    std::lock_guard<std::mutex> lock(state.mutex);
    const HGLRC__* record = platform_egl::FindContextLocked(state, context);
    return record != nullptr ? record->wglAttributes : std::vector<int>{};
}

}  // namespace platform_testing
