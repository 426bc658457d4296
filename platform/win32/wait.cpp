// Waiting on Windows, where the counter is the performance counter (clock.cpp): a sleep on
// a high-resolution timer up to shortly before the point, then a few yields to meet it.
#include "platform/wait.h"

#include <windows.h>

#include "platform/clock.h"

namespace {

// Timers that wake within a fraction of a millisecond (Windows 10, version 1803 and later);
// older systems give a plain timer, which the yields below make up for.
constexpr DWORD highResolutionTimer = 0x00000002;  // CREATE_WAITABLE_TIMER_HIGH_RESOLUTION

HANDLE timer() {
  static HANDLE handle = [] {
    HANDLE made = CreateWaitableTimerExW(nullptr, nullptr, highResolutionTimer, TIMER_ALL_ACCESS);
    return made != nullptr ? made : CreateWaitableTimerExW(nullptr, nullptr, 0, TIMER_ALL_ACCESS);
  }();
  return handle;
}

// Sleeps for about `ticks` counts of the counter, never much longer.
void sleepFor(std::int64_t ticks, std::int64_t frequency) {
  // In units of 100 ns, negative for a time relative to now.
  LARGE_INTEGER due{};
  due.QuadPart = -(ticks * 10000000 / frequency);
  HANDLE waiter = timer();
  if (waiter != nullptr && due.QuadPart < 0 &&
      SetWaitableTimer(waiter, &due, 0, nullptr, nullptr, FALSE))
    WaitForSingleObject(waiter, INFINITE);
  else
    Sleep(0);
}

}  // namespace

void waitUntilCounter(std::int64_t counter) {
  const std::int64_t frequency = performanceFrequency();
  // The last two milliseconds are yielded away rather than slept, as a timer may wake late.
  const std::int64_t margin = frequency / 500;
  for (std::int64_t now = performanceCounter(); now < counter; now = performanceCounter()) {
    if (counter - now > margin)
      sleepFor(counter - now - margin, frequency);
    else
      SwitchToThread();
  }
}
