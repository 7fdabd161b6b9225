#include "host/suite_registry.h"
#include "host/suites/drawbot_calls.h"
#include "host/ui_window.h"

namespace quorvel::host {

namespace {

// The drawing reference of the window an event's context belongs to; null for a window that
// has nothing to draw on. Borrowed: the module never releases it.
PF_Err GetDrawingReference(const PF_ContextH context, DRAWBOT_DrawRef* reference) {
    if (reference == nullptr) {
        return RefuseMisuse("PF_GetDrawingReference without a place for the reference");
    }
    *reference = nullptr;
    if (const auto fault = FaultAnswer("PF_GetDrawingReference")) {
        return *fault;
    }
    UiWindow* window = UiWindow::FromContext(context);
    if (window == nullptr) {
        return RefuseMisuse("PF_GetDrawingReference of an unknown context");
    }
    if (window->drawable) {
        *reference = window->canvas().DrawRef();
    }
    return PF_Err_NONE;
}

const PF_EffectCustomUISuite1 kCustomUiSuite = {&GetDrawingReference};

}  // namespace

extern const SuiteDefinition kEffectCustomUISuite1 = {
    kPFEffectCustomUISuite, kPFEffectCustomUISuiteVersion1, &kCustomUiSuite};

}  // namespace quorvel::host
