#pragma once
// Camera scripts as text: keys of time, position and orientation. The orientation is the one
// the director reads back: the view direction is the rotation's local x axis, up its local z.
#include <string>
#include <vector>

#include "render/math.h"

struct ScriptKey {
  float time = 0;
  Vec3 position{0, 0, 0};
  Vec3 forward{1, 0, 0};
  Vec3 up{0, 1, 0};
};

// The unit rotation whose matrix has `forward` as column 0 and `up` (made perpendicular to
// forward) as column 2.
Quat frameRotation(Vec3 forward, Vec3 up);

// The script text; successive quaternions keep one sign so that their slerps stay short.
std::string scriptText(const std::vector<ScriptKey>& keys, const char* title);

// A small deterministic generator for the flight planners, independent of the shared random
// source so that each script depends on its own seed only.
class PathRandom {
 public:
  explicit PathRandom(unsigned seed) : state_(seed * 2654435761u + 12345u) {}
  float unit() {  // 0 .. 1
    state_ = state_ * 1664525u + 1013904223u;
    return static_cast<float>(state_ >> 8) / static_cast<float>(1u << 24);
  }
  float between(float a, float b) { return a + (b - a) * unit(); }
  Vec3 direction() {
    for (;;) {
      const Vec3 v(between(-1, 1), between(-1, 1), between(-1, 1));
      const float l = length(v);
      if (l > 0.1f && l <= 1) return v / l;
    }
  }

 private:
  unsigned state_;
};

// Up made perpendicular to forward, falling back to another axis when they are parallel.
Vec3 perpendicularUp(Vec3 forward, Vec3 up);
