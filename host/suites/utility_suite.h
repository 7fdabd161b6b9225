#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "host_api/suites.h"

namespace quorvel::host {

// The plug-ins registered through "AEGP Utility Suite" 7, with the ids they were given (the
// host's State<AegpRegistrations>()).
class AegpRegistrations {
  public:
    struct Entry {
        std::string name;
        AEGP_PluginID id;
    };

    AEGP_PluginID Register(const std::string& name);
    std::vector<Entry> Entries() const;

    // The first id handed out; later ones count up from it.
    static constexpr AEGP_PluginID kFirstId = 101;

  private:
    mutable std::mutex mutex_;
    std::vector<Entry> entries_;
};

}  // namespace quorvel::host
