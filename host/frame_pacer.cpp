#include "host/frame_pacer.h"

std::int64_t FramePacer::presentAt(std::int64_t now) {
  if (period <= 0) return now;
  if (!started || now < lastPresent) {
    // First frame, or a counter that went back: start a new grid here.
    started = true;
    lastPresent = now;
    return now;
  }
  std::int64_t target = lastPresent + period;
  if (keepsRate && now > target) {
    lastPresent = now - target < period ? target : now;
    return now;
  }
  if (now > target) target += (now - target + period - 1) / period * period;
  lastPresent = target;
  return target;
}

std::int64_t refreshPeriod(double hertz, std::int64_t frequency) {
  // Displays run from about 24 to a few hundred hertz; anything else is a bad report.
  if (!(hertz >= 20.0 && hertz <= 1000.0)) hertz = 60.0;
  return static_cast<std::int64_t>(static_cast<double>(frequency) / hertz + 0.5);
}

std::int64_t limitPeriod(std::int32_t framesPerSecond, std::int64_t frequency) {
  if (framesPerSecond <= 0) return 0;
  const double rate = framesPerSecond > 1000 ? 1000.0 : static_cast<double>(framesPerSecond);
  return static_cast<std::int64_t>(static_cast<double>(frequency) / rate + 0.5);
}
