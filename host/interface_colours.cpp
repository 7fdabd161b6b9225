#include "host/interface_colours.h"

namespace quorvel::host {

namespace {

constexpr PF_App_Color kMidGrey = {0x8000, 0x8000, 0x8000};

}  // namespace

// A dark interface: light curves and outlines on dark panels.
InterfaceColours::InterfaceColours()
    : background_{0x2323, 0x2323, 0x2323},
      byType_{{1, {0x3A3A, 0x4A4A, 0x5E5E}},
              {2, {0xE8E8, 0xB0B0, 0x1010}},
              {55, {0xF0F0, 0xF0F0, 0xF0F0}},
              {1002, {0x9090, 0x9090, 0x9090}}} {}

PF_App_Color InterfaceColours::Background() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return background_;
}

PF_App_Color InterfaceColours::Of(PF_App_ColorType type) const {
    std::lock_guard<std::mutex> lock(mutex_);
    const auto found = byType_.find(type);
    return found != byType_.end() ? found->second : kMidGrey;
}

void InterfaceColours::SetBackground(const PF_App_Color& colour) {
    std::lock_guard<std::mutex> lock(mutex_);
    background_ = colour;
}

void InterfaceColours::Set(PF_App_ColorType type, const PF_App_Color& colour) {
    std::lock_guard<std::mutex> lock(mutex_);
    byType_[type] = colour;
}

}  // namespace quorvel::host
