#include "tools/art/art_noise.h"

#include <cmath>

#include "tools/common/art_random.h"

namespace {

int wrap(int i, int period) {
  int m = i % period;
  return m < 0 ? m + period : m;
}

float fade(float t) { return t * t * t * (t * (t * 6 - 15) + 10); }

// One of 16 unit gradients chosen by the lattice hash; ix, iy already wrapped.
inline float gradDot(int ix, int iy, uint32_t seed, float dx, float dy) {
  static const float table[16][2] = {
      {1, 0},  {0.9239f, 0.3827f},   {0.7071f, 0.7071f},   {0.3827f, 0.9239f},
      {0, 1},  {-0.3827f, 0.9239f},  {-0.7071f, 0.7071f},  {-0.9239f, 0.3827f},
      {-1, 0}, {-0.9239f, -0.3827f}, {-0.7071f, -0.7071f}, {-0.3827f, -0.9239f},
      {0, -1}, {0.3827f, -0.9239f},  {0.7071f, -0.7071f},  {0.9239f, -0.3827f}};
  uint32_t h = hashLattice(ix, iy, seed) & 15u;
  return table[h][0] * dx + table[h][1] * dy;
}

}  // namespace

float tileNoise(float x, float y, int period, uint32_t seed) {
  if (period < 1) period = 1;
  float fx = std::floor(x), fy = std::floor(y);
  int x0 = wrap(int(fx), period), y0 = wrap(int(fy), period);
  int x1 = x0 + 1 == period ? 0 : x0 + 1, y1 = y0 + 1 == period ? 0 : y0 + 1;
  float dx = x - fx, dy = y - fy;
  float n00 = gradDot(x0, y0, seed, dx, dy);
  float n10 = gradDot(x1, y0, seed, dx - 1, dy);
  float n01 = gradDot(x0, y1, seed, dx, dy - 1);
  float n11 = gradDot(x1, y1, seed, dx - 1, dy - 1);
  float u = fade(dx), v = fade(dy);
  float a = n00 + (n10 - n00) * u;
  float b = n01 + (n11 - n01) * u;
  return 1.4142f * (a + (b - a) * v);
}

float tileFbm(float x, float y, int period, int octaves, float gain, uint32_t seed) {
  float sum = 0, amp = 1, norm = 0;
  for (int o = 0; o < octaves; ++o) {
    sum += amp * tileNoise(x, y, period, seed + uint32_t(o) * 7919u);
    norm += amp;
    amp *= gain;
    x *= 2;
    y *= 2;
    period *= 2;
  }
  return norm > 0 ? sum / norm : 0;
}

float tileRidged(float x, float y, int period, int octaves, uint32_t seed) {
  float sum = 0, amp = 1, norm = 0, weight = 1;
  for (int o = 0; o < octaves; ++o) {
    float r = 1 - std::fabs(tileNoise(x, y, period, seed + uint32_t(o) * 104729u));
    r *= r;
    // Finer ridges grow mostly along the coarse ones, which reads as fibres.
    sum += amp * r * weight;
    weight = r;
    norm += amp;
    amp *= 0.5f;
    x *= 2;
    y *= 2;
    period *= 2;
  }
  return norm > 0 ? sum / norm : 0;
}

CellDistances tileCells(float x, float y, int period, uint32_t seed) {
  if (period < 1) period = 1;
  int ix = int(std::floor(x)), iy = int(std::floor(y));
  float best = 1e9f, second = 1e9f;
  uint32_t bestId = 0;
  for (int oy = -1; oy <= 1; ++oy) {
    for (int ox = -1; ox <= 1; ++ox) {
      int cx = ix + ox, cy = iy + oy;
      uint32_t h = hashLattice(wrap(cx, period), wrap(cy, period), seed);
      float px = cx + float(h & 0xFFFF) / 65536.0f;
      float py = cy + float(h >> 16) / 65536.0f;
      float d = std::hypot(px - x, py - y);
      if (d < best) {
        second = best;
        best = d;
        bestId = h;
      } else if (d < second) {
        second = d;
      }
    }
  }
  return {best, second, bestId};
}
