#include "platform/wait.h"

#include <errno.h>
#include <time.h>

// The counter is CLOCK_MONOTONIC in nanoseconds (clock.cpp), so an absolute sleep on that
// clock ends exactly at the counter value, and a signal only resumes the same sleep.
void waitUntilCounter(std::int64_t counter) {
  if (counter <= 0) return;
  timespec until{};
  until.tv_sec = static_cast<time_t>(counter / 1000000000);
  until.tv_nsec = static_cast<long>(counter % 1000000000);
  while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) == EINTR) {
  }
}
