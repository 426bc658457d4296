#pragma once
// Samples a camera script through the saver's own track reader and reports how it moves.
#include <functional>
#include <string>

#include "render/math.h"

struct FlightReport {
  bool readable = false;      // reads and prepares as a valid track
  float duration = 0;         // last key's time
  float worstTurn = 0;        // fastest turn of the view direction, degrees per wall second
  bool placesAllowed = true;  // every sampled position passed the scene's test
  Vec3 end{0, 0, 0};          // the last key's position
};

// `rate` is track seconds per wall second; `allowed` judges each sampled position.
FlightReport checkFlight(const std::string& script, float rate,
                         const std::function<bool(Vec3)>& allowed);
