#include "recorder/simulated_clock.h"

#include <cmath>

#include "render/text_overlay.h"

namespace {
// Seconds after midnight, kept in double so a long recording does not drift by rounding.
double secondsNow = 0;
}  // namespace

void startSimulatedClock(int secondsOfDay) {
  secondsNow = secondsOfDay;
  setLocalTimeSource(&simulatedTime);
}

void advanceSimulatedClock(double dt) { secondsNow = std::fmod(secondsNow + dt, 86400.0); }

LocalTime simulatedTime() {
  int s = static_cast<int>(secondsNow);
  LocalTime t;
  t.hour = s / 3600;
  t.minute = s / 60 % 60;
  t.second = s % 60;
  return t;
}

void stopSimulatedClock() { setLocalTimeSource(nullptr); }
