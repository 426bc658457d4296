#include "platform/clock.h"

#include <time.h>

// Nanoseconds of CLOCK_MONOTONIC: never jumps with the wall clock, so frame times stay sane
// across clock adjustments and suspend.
std::int64_t performanceCounter() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<std::int64_t>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

std::int64_t performanceFrequency() { return 1000000000; }
