#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "host_api/effect.h"
#include "host_api/suites.h"

namespace quorvel::testing {

// A basic suite for unit tests of code that acquires suites by hand: it serves the tables it
// is given, logs every call as "acquire <name> <version>" / "release <name> <version>", and
// can answer an acquisition with an error code while still handing out the table. One at a
// time: the suite's functions reach the living instance.
class RecordingBasicSuite {
  public:
    RecordingBasicSuite();
    ~RecordingBasicSuite();

    void Serve(const std::string& name, A_long version, const void* table) {
        tables_[{name, version}] = table;
    }
    // Acquisitions of this pair return code (the table is still handed out when served).
    void AnswerWith(const std::string& name, A_long version, SPErr code) {
        answers_[{name, version}] = code;
    }

    SPBasicSuite* suite() { return &suite_; }
    const std::vector<std::string>& calls() const { return calls_; }

    // An in_data and out_data around this suite, with an ANSI sprintf into the message.
    PF_InData InData();

  private:
    static SPErr Acquire(const char* name, A_long version, const void** suite);
    static SPErr Release(const char* name, A_long version);

    SPBasicSuite suite_;
    std::map<std::pair<std::string, A_long>, const void*> tables_;
    std::map<std::pair<std::string, A_long>, SPErr> answers_;
    std::vector<std::string> calls_;
    PF_UtilCallbacks utils_;
};

}  // namespace quorvel::testing
