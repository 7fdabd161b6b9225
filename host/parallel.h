#pragma once

#include <cstddef>
#include <functional>

namespace quorvel::host {

// Runs work (0) to work (count - 1) on as many threads as the machine has cores, the calling
// thread among them. The first exception is passed on once every thread has stopped.
void ParallelFor(std::size_t count, const std::function<void(std::size_t)>& work);

}  // namespace quorvel::host
