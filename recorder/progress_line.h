#pragma once
// One line on a terminal that tells how far a recording is: frames done of the total, frames
// rendered per second and the time left. Redrawn at most ten times a second; silent when
// stderr is not a terminal (logs and pipes get no carriage returns).
#include <cstdint>

class ProgressLine {
 public:
  explicit ProgressLine(std::int64_t total);
  virtual ~ProgressLine() = default;

  void update(std::int64_t done);
  // Ends the line so later output starts on a fresh one.
  void finish();

 private:
  std::int64_t total_;
  bool shown_;
  double start_;
  double lastDrawn_ = -1;
};

// "12/300 frames  24.0 fps  0:12 left" as the line shows it.
void formatProgress(char* out, int size, std::int64_t done, std::int64_t total, double elapsed);
