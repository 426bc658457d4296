#include "render/frame_rules.h"

float advanceBackgroundAngle(float angle, float dt) {
  angle += dt * 25.0f;
  if (angle > 360.0f) angle -= 360.0f;
  return angle;
}

void FrameRateWindow::countFrame(float dt) {
  frameCount += 1;
  rateClock += dt;
  if (rateClock > 1.0f) {
    rateClock = 0.0f;
    framesPerSecond = frameCount;
    frameCount = 0;
  }
}

bool tunnelShown(SceneState state, float trackTime, std::int32_t detail) {
  return state != Cells && trackTime <= 3.0f && detail == 2;
}

float tunnelAlpha(float trackTime) { return 0.6f - (trackTime - 1.0f) * 0.3f; }
