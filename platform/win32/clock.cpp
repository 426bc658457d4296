#include "platform/clock.h"

#include <windows.h>

// The performance counter: monotonic, unaffected by changes of the wall clock.
std::int64_t performanceCounter() {
  LARGE_INTEGER now{};
  QueryPerformanceCounter(&now);
  return now.QuadPart;
}

std::int64_t performanceFrequency() {
  LARGE_INTEGER frequency{};
  QueryPerformanceFrequency(&frequency);
  // Never 0 on a system that runs this program; 1 keeps a caller's division sane regardless.
  return frequency.QuadPart > 0 ? frequency.QuadPart : 1;
}
