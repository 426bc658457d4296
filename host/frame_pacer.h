#pragma once
// Frame pacing for drivers that cannot wait for the vertical retrace: presents are held back
// to a grid of refresh periods, as a synchronised swap would hold them, so the frame rate
// never exceeds the display's refresh rate and an idle wait sleeps instead of spinning.
//
// Like a synchronised swap, a frame that misses its refresh waits for the next one; at most
// one frame is presented per refresh period. A frame cap (keepsRate) presents late frames at
// once instead.
#include <cstdint>

class FramePacer {
 public:
  virtual ~FramePacer() = default;

  // Refresh period in counter ticks; 0 or less turns pacing off.
  FramePacer() = default;
  explicit FramePacer(std::int64_t period) : period(period) {}

  // For a frame ready at counter value `now`: the counter value at which to present it
  // (`now` itself when no wait is due). The first frame presents at once and sets the grid.
  std::int64_t presentAt(std::int64_t now);

  std::int64_t period = 0;
  std::int64_t lastPresent = 0;
  bool started = false;
  // For a frame cap rather than a refresh: a frame that misses its slot by less than a period
  // presents at once and keeps the grid, so a late frame is made up by the next one and the
  // rate over a second stays the cap's; one later than that starts a new grid.
  bool keepsRate = false;
};

// The period in counter ticks of a display refreshing at `hertz` (counter at `frequency`
// ticks per second); a rate that is unknown (0 or less) or implausible is taken as 60 Hz.
std::int64_t refreshPeriod(double hertz, std::int64_t frequency);

// The period in counter ticks of a frame cap of `framesPerSecond` (the FrameLimit setting):
// 0 (no cap) for 0 or less; caps above 1000 are taken as 1000.
std::int64_t limitPeriod(std::int32_t framesPerSecond, std::int64_t frequency);
