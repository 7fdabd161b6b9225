#pragma once

#include <string>
#include <thread>

// The module prints its OpenGL information to standard output whenever it starts a context:
// once for its start-up context and once for each render thread's, the same lines N + 1 times
// for N threads. While a RepeatedOutputFilter lives, standard output passes through it, and a
// block of lines (between empty lines) that was already passed on is left out, as are empty
// lines that would follow one another. Without a pipe to filter through, nothing changes.
class RepeatedOutputFilter {
  public:
    RepeatedOutputFilter();
    // Passes on what is left and gives standard output back.
    ~RepeatedOutputFilter();
    RepeatedOutputFilter(const RepeatedOutputFilter&) = delete;
    RepeatedOutputFilter& operator=(const RepeatedOutputFilter&) = delete;

  private:
    void Run(int input);

    int standardOutput_ = -1;
    std::thread thread_;
};
