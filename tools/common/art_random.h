#pragma once

#include <cstdint>

// Small deterministic generator for the content tools: the same seed gives the same
// artwork and music on every machine and every build (the saver's own randomUnit()
// is reserved for run-time behaviour).
class ArtRandom {
 public:
  explicit ArtRandom(uint64_t seed) : state(seed) {}
  virtual ~ArtRandom() = default;

  // splitmix64: full period, good bit mixing, trivially portable.
  uint64_t next() {
    uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // Uniform in [0, 1).
  double unit() { return double(next() >> 11) * (1.0 / 9007199254740992.0); }
  double range(double lo, double hi) { return lo + (hi - lo) * unit(); }
  // Uniform integer in [0, n), n > 0.
  int below(int n) { return int(unit() * n); }

 private:
  uint64_t state;
};

// Stateless hash of lattice coordinates, for noise that needs no tables.
inline uint32_t hashLattice(int32_t x, int32_t y, uint32_t seed) {
  uint32_t h = seed * 0x27D4EB2Fu;
  h ^= uint32_t(x) * 0x85EBCA6Bu;
  h = (h ^ (h >> 15)) * 0xC2B2AE35u;
  h ^= uint32_t(y) * 0x165667B1u;
  h = (h ^ (h >> 13)) * 0x85EBCA6Bu;
  return h ^ (h >> 16);
}
