#pragma once

#include <vector>

struct Ramp;

// The shaped spacing of a row of n base points for any number of factors and offsets: the
// ramp is read once, at the n - 1 step starts, and the storage is reused.
class BasePointSpacing {
  public:
    BasePointSpacing(int n, const Ramp& ramp);

    // The positions of the n points: the spacing shrinks where the ramp is high, factor
    // scaling its effect; offset shifts the row (results may leave [0, 1]). Valid until the
    // next call.
    const std::vector<double>& Distribute(double factor, double offset);

  private:
    int n_;
    std::vector<float> steps_;
    std::vector<double> table_;
    std::vector<double> result_;
};
