// Pacing of presents to the display's refresh when the driver cannot wait for the retrace.
#include <gtest/gtest.h>

#include "host/frame_pacer.h"

namespace {

TEST(FramePacer, PresentsAtMostOncePerRefreshOnTheFirstFramesGrid) {
  struct Case {
    std::int64_t ready;  // counter value at which the frame is ready
    std::int64_t present;
  } cases[] = {
      {1000, 1000},  // the first frame goes at once and sets the grid
      {1001, 1100},  // ready early: waits for the next refresh
      {1150, 1200},  // a little late: the refresh after
      {1200, 1300},  // ready exactly on a refresh already used: the next one
      {1450, 1500},  // a slow frame skips the refreshes it missed
      {1600, 1600},  // ready exactly on a free refresh: no wait
      {500, 500},    // a counter that went back starts a new grid
      {520, 600},
  };
  FramePacer pacer(100);
  for (const Case& c : cases) EXPECT_EQ(pacer.presentAt(c.ready), c.present) << c.ready;

  EXPECT_EQ(FramePacer().presentAt(5), 5);  // no period: no pacing
}

TEST(FramePacer, AFrameCapMakesUpALateFrameAndRestartsAfterAStall) {
  struct Case {
    std::int64_t ready, present;
  } cases[] = {
      {1000, 1000}, {1010, 1100},  // early: held to the grid
      {1230, 1230},                // late by less than a period: at once, grid kept
      {1250, 1300},                // so the next one goes at its slot
      {1650, 1650},                // a stall: at once, and a new grid from there
      {1660, 1750},
  };
  FramePacer pacer(100);
  pacer.keepsRate = true;
  for (const Case& c : cases) EXPECT_EQ(pacer.presentAt(c.ready), c.present) << c.ready;
  EXPECT_EQ(limitPeriod(20, 1000000000), 50000000);
  EXPECT_EQ(limitPeriod(0, 1000000000), 0);
  EXPECT_EQ(limitPeriod(-3, 1000000000), 0);
  EXPECT_EQ(limitPeriod(5000, 1000000000), 1000000);
}

TEST(FramePacer, RefreshPeriodFallsBackTo60HertzWhenTheDisplayCannotSay) {
  struct Case {
    double hertz;
    std::int64_t period;  // nanoseconds
  } cases[] = {{60.0, 16666667}, {144.0, 6944444}, {59.94, 16683350},
               {0.0, 16666667},  {-1.0, 16666667}, {1e9, 16666667}};
  for (const Case& c : cases) EXPECT_EQ(refreshPeriod(c.hertz, 1000000000), c.period) << c.hertz;
}

}  // namespace
