#pragma once
// One key of a camera path: where the camera is and how it is turned at a moment of track time.
#include <limits>

#include "render/math.h"

class KeyFrame {
 public:
  KeyFrame() = default;
  virtual ~KeyFrame() = default;

  // Every key must carry a time line; NaN marks a key that never got one, so that the track
  // can refuse it instead of sampling garbage.
  float time = std::numeric_limits<float>::quiet_NaN();
  bool freeze = false;
  Vec3 position{0, 0, 0};
  Vec3 gradient{0, 0, 0};
  Quat rotation{0, 0, 0, 0};
  Quat inControl{0, 1, 0, 1};
  Quat outControl{0, 1, 0, 1};
};
