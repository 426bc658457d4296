#pragma once

#include <algorithm>
#include <cmath>

// Shaping functions shared by the painters.
inline float clamp01(float v) { return std::clamp(v, 0.0f, 1.0f); }
inline float smoothStep(float e0, float e1, float x) {
  float t = clamp01((x - e0) / (e1 - e0));
  return t * t * (3 - 2 * t);
}
inline float gaussian(float d, float sigma) { return std::exp(-(d * d) / (2 * sigma * sigma)); }

constexpr float kPi = 3.14159265358979f;
