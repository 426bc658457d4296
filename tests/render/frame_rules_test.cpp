// What a frame computes without drawing: the shell's spin, the frame-rate window and the
// fly-in tunnel's visibility and opacity.
#include <gtest/gtest.h>

#include "render/frame_rules.h"

namespace {

TEST(FrameRules, BackgroundAngleWrapsOnceAbove360) {
  struct Case {
    float angle, dt, expected;
  } cases[] = {{0.0f, 0.04f, 1.0f},
               {359.0f, 0.08f, 1.0f},
               {358.0f, 0.08f, 360.0f},
               {360.0f, 0.04f, 1.0f},
               {100.0f, 0.0f, 100.0f}};
  for (const Case& c : cases)
    EXPECT_FLOAT_EQ(advanceBackgroundAngle(c.angle, c.dt), c.expected) << c.angle << " + " << c.dt;
}

TEST(FrameRules, RateWindowShowsFramesOfJustOverOneSecond) {
  struct Case {
    float fps;
    int firstShownAfter, low, high;
  } cases[] = {{60.0f, 61, 60, 61}, {30.0f, 31, 30, 31}, {144.0f, 145, 144, 145}, {0.5f, 1, 1, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fps);
    FrameRateWindow window;
    int frames = 0;
    while (window.framesPerSecond == 0 && frames < 1000) window.countFrame(1.0f / c.fps), ++frames;
    EXPECT_NEAR(frames, c.firstShownAfter, 1);  // 0 is shown until then
    for (int i = 0; i < 10 * int(c.fps) + 10; ++i) {
      window.countFrame(1.0f / c.fps);
      EXPECT_GE(window.framesPerSecond, c.low);
      EXPECT_LE(window.framesPerSecond, c.high);
    }
  }
}

TEST(FrameRules, TunnelOnlyEnteringNucleusAndDnaAtFullDetail) {
  struct Case {
    SceneState state;
    float trackTime;
    int detail;
    bool shown;
    float alpha;  // when shown
  } cases[] = {
      {Core, 0.0f, 2, true, 0.9f}, {Dna, 1.0f, 2, true, 0.6f}, {Dna, 3.0f, 2, true, 0.0f},
      {Core, 3.01f, 2, false, 0},  {Cells, 0.0f, 2, false, 0}, {Core, 0.0f, 1, false, 0},
      {Dna, 0.5f, 0, false, 0},    {Dna, 2.0f, 3, false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << int(c.state) << " " << c.trackTime << " " << c.detail);
    EXPECT_EQ(tunnelShown(c.state, c.trackTime, c.detail), c.shown);
    EXPECT_NEAR(c.shown ? tunnelAlpha(c.trackTime) : 0.0f, c.alpha, 1e-6f);
  }
}

}  // namespace
