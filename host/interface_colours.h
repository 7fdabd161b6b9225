#pragma once

#include <map>
#include <mutex>

#include "host_api/suites.h"

namespace quorvel::host {

// The colours of the host's interface that "PF AE App Suite" 6 reports (the host's
// State<InterfaceColours>()): the panels' background and one colour per colour type; a type
// never set is mid grey. Safe to use from several threads.
class InterfaceColours {
  public:
    InterfaceColours();

    PF_App_Color Background() const;
    PF_App_Color Of(PF_App_ColorType type) const;
    void SetBackground(const PF_App_Color& colour);
    void Set(PF_App_ColorType type, const PF_App_Color& colour);

  private:
    mutable std::mutex mutex_;
    PF_App_Color background_;
    std::map<PF_App_ColorType, PF_App_Color> byType_;
};

}  // namespace quorvel::host
