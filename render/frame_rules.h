#pragma once
// The arithmetic of a frame that does not touch OpenGL: the background's spin, the frame-rate
// window and when the fly-in tunnel shows and how opaque it is. All in 32-bit floats, as the
// frame keeps them.
#include <cstdint>

#include "anim/director.h"

// The shell's spin after a frame of dt seconds: 25 degrees a second, wrapped once (by
// subtracting 360) when the sum is above 360, so exactly 360 stays 360 for one frame.
float advanceBackgroundAngle(float angle, float dt);

// The frame-rate window: counts frames until more than one second has gathered, then shows the
// count and restarts at 0 (the excess is dropped). 0 until the first window closes.
struct FrameRateWindow {
  std::int32_t frameCount = 0;
  float rateClock = 0.0f;
  std::int32_t framesPerSecond = 0;

  void countFrame(float dt);
};

// The tunnel shows at the start of the nucleus and DNA visits (trackTime at most 3) and only at
// the highest detail (2).
bool tunnelShown(SceneState state, float trackTime, std::int32_t detail);
// Its opacity: 0.9 at trackTime 0, falling to 0 at 3.
float tunnelAlpha(float trackTime);
