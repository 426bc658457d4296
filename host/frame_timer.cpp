#include "host/frame_timer.h"

#include "host/saver_state.h"
#include "platform/clock.h"

void FrameTimer::restart() { start = performanceCounter(); }

double FrameTimer::measure() {
  elapsed = static_cast<double>(performanceCounter() - start) * secondsPerTick;
  return elapsed;
}
