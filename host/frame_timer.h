#pragma once
// Wall-clock time of a frame, from the performance counter.
#include <cstdint>

class FrameTimer {
 public:
  virtual ~FrameTimer() = default;

  // Starts timing from now.
  void restart();
  // Seconds since the last restart (which stays the start).
  double measure();

  std::int64_t start = 0;
  double elapsed = 0.0;
};
