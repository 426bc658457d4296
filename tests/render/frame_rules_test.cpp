// What a frame computes without drawing: the shell's spin, the frame-rate window and the
// fly-in tunnel's visibility and opacity.
#include <gtest/gtest.h>

#include "render/frame_rules.h"

namespace {

TEST(FrameRules, BackgroundAngleWrapsOnceAbove360) {
  struct Case {
    float angle, dt, expected;
  } cases[] = {
      {0.0f, 0.04f, 1.0f},     {359.0f, 0.08f, 1.0f},  // 359 + 2 wraps to 1
      {358.0f, 0.08f, 360.0f},                         // exactly 360 stays for a frame
      {360.0f, 0.04f, 1.0f},   {100.0f, 0.0f, 100.0f},
  };
  for (const Case& c : cases)
    EXPECT_FLOAT_EQ(advanceBackgroundAngle(c.angle, c.dt), c.expected) << c.angle << " + " << c.dt;
  float angle = 0.0f;
  for (int i = 0; i < 100000; ++i) {
    angle = advanceBackgroundAngle(angle, 1.0f / 60.0f);
    ASSERT_GE(angle, 0.0f);
    ASSERT_LE(angle, 360.0f);
  }
}

TEST(FrameRules, RateWindowShowsFramesOfJustOverOneSecond) {
  struct Case {
    float fps;
    int low, high;
  } cases[] = {{60.0f, 60, 61}, {30.0f, 30, 31}, {144.0f, 144, 145}, {0.5f, 1, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fps);
    FrameRateWindow window;
    const float dt = 1.0f / c.fps;
    int frames = 0;
    // Nothing is shown until the first window closes.
    while (window.framesPerSecond == 0 && frames < 1000) {
      EXPECT_EQ(window.framesPerSecond, 0);
      window.countFrame(dt);
      ++frames;
    }
    EXPECT_GE(frames * dt, 1.0f);
    for (int i = 0; i < 10 * static_cast<int>(c.fps) + 10; ++i) {
      window.countFrame(dt);
      EXPECT_GE(window.framesPerSecond, c.low);
      EXPECT_LE(window.framesPerSecond, c.high);
    }
    // The window restarts at 0 instead of carrying the excess.
    EXPECT_LE(window.rateClock, 1.0f);
  }
}

TEST(FrameRules, TunnelOnlyEnteringNucleusAndDnaAtFullDetail) {
  struct Case {
    SceneState state;
    float trackTime;
    int detail;
    bool shown;
    float alpha;
  } cases[] = {
      {Core, 0.0f, 2, true, 0.9f}, {Dna, 1.0f, 2, true, 0.6f}, {Dna, 3.0f, 2, true, 0.0f},
      {Core, 3.01f, 2, false, 0},  {Cells, 0.0f, 2, false, 0}, {Core, 0.0f, 1, false, 0},
      {Dna, 0.5f, 0, false, 0},    {Dna, 2.0f, 3, false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << int(c.state) << " " << c.trackTime << " " << c.detail);
    EXPECT_EQ(tunnelShown(c.state, c.trackTime, c.detail), c.shown);
    if (c.shown) {
      EXPECT_NEAR(tunnelAlpha(c.trackTime), c.alpha, 1e-6f);
    }
  }
}

}  // namespace
