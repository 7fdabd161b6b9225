#include "host/ui_window.h"

#include "host/live_registry.h"

namespace quorvel::host {

namespace {

constexpr A_u_long kContextMagic = PF_FOUR_CHAR('c', 'n', 't', 'x');

}  // namespace

UiWindow::UiWindow(PF_WindowType type, int width, int height,
                   const DrawbotSupplierSettings& settings)
    : context_{kContextMagic, type, nullptr, 0},
      contextPointer_(&context_),
      canvas_(width, height, settings) {
    LiveRegistry<UiWindow>::Add(this);
}

UiWindow::~UiWindow() {
    LiveRegistry<UiWindow>::Remove(this);
}

UiWindow* UiWindow::FromContext(PF_ContextH context) {
    return LiveRegistry<UiWindow>::Find(
        [context](UiWindow& window) { return window.Context() == context; });
}

}  // namespace quorvel::host
