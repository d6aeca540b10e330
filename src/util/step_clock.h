// How long the steps of a run take: elapsed time and the processor time of
// the thread that runs them (on a shared machine the steadier of the two).
#pragma once

#include <chrono>

#include "util/platform_time.h"

namespace statcrane {

struct StepTime {
  double elapsed = 0;    // seconds
  double processor = 0;  // seconds of the running thread, user and system

  StepTime& operator+=(const StepTime& other) {
    elapsed += other.elapsed;
    processor += other.processor;
    return *this;
  }
};

// Measures from its creation, then from each Lap to the next.
class StepClock {
 public:
  StepTime Lap() {
    const auto now = std::chrono::steady_clock::now();
    const double cpu = ThreadProcessorSeconds();
    const StepTime lap{std::chrono::duration<double>(now - start_).count(), cpu - cpu_};
    start_ = now;
    cpu_ = cpu;
    return lap;
  }

 private:
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
  double cpu_ = ThreadProcessorSeconds();
};

}  // namespace statcrane
