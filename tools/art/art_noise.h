#pragma once

#include <cstdint>

// Tileable noise for the texture generators. Coordinates are in lattice units; every
// function repeats with the given integer period along both axes, so a texture that
// samples one full period wraps without a seam.

// Gradient noise in about -1..1.
float tileNoise(float x, float y, int period, uint32_t seed);

// Fractal sum of `octaves` layers, each of twice the frequency and `gain` times the
// amplitude of the one before; normalised to about -1..1.
float tileFbm(float x, float y, int period, int octaves, float gain, uint32_t seed);

// Ridged fractal: thin bright ridges where the noise crosses zero, 0..1.
float tileRidged(float x, float y, int period, int octaves, uint32_t seed);

// Cellular noise: distances to the nearest and second-nearest feature point (one point
// per lattice cell), in lattice units.
struct CellDistances {
  float nearest;
  float second;
  uint32_t id;  // identifies the nearest point's cell, for per-cell variation
};
CellDistances tileCells(float x, float y, int period, uint32_t seed);
