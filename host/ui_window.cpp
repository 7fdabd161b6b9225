#include "host/ui_window.h"

#include <mutex>
#include <set>

namespace quorvel::host {

namespace {

constexpr A_u_long kContextMagic = PF_FOUR_CHAR('c', 'n', 't', 'x');

struct LiveWindows {
    std::mutex mutex;
    std::set<UiWindow*> windows;
};

LiveWindows& Live() {
    static LiveWindows live;
    return live;
}

}  // namespace

UiWindow::UiWindow(PF_WindowType type, int width, int height,
                   const DrawbotSupplierSettings& settings)
    : context_{kContextMagic, type, nullptr, 0},
      contextPointer_(&context_),
      canvas_(width, height, settings) {
    std::lock_guard<std::mutex> lock(Live().mutex);
    Live().windows.insert(this);
}

UiWindow::~UiWindow() {
    std::lock_guard<std::mutex> lock(Live().mutex);
    Live().windows.erase(this);
}

UiWindow* UiWindow::FromContext(PF_ContextH context) {
    std::lock_guard<std::mutex> lock(Live().mutex);
    for (UiWindow* window : Live().windows) {
        if (window->Context() == context) {
            return window;
        }
    }
    return nullptr;
}

}  // namespace quorvel::host
