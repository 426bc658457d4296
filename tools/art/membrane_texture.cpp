// Organic surfaces: the cell membrane and the chromatin of the nucleus.
#include <cmath>

#include "tools/art/art_math.h"
#include "tools/art/art_noise.h"
#include "tools/art/texture_art.h"

ArtImage paintMembrane() {
  const int size = 512;
  ArtImage img(size, size);
  const ArtColour interior{0.16f, 0.24f, 0.33f};
  const ArtColour wallTint{0.62f, 0.84f, 0.95f};
  const ArtColour fineTint{0.45f, 0.58f, 0.74f};
  const ArtColour lilac{0.52f, 0.44f, 0.78f};
  const ArtColour teal{0.30f, 0.62f, 0.66f};
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      float u = (x + 0.5f) / size, v = (y + 0.5f) / size;
      // Warp the cell lattice with slow noise so no cell is a straight polygon.
      float wx = 0.35f * tileFbm(u * 4, v * 4, 4, 4, 0.5f, 11);
      float wy = 0.35f * tileFbm(u * 4 + 17.3f, v * 4 + 5.1f, 4, 4, 0.5f, 12);
      CellDistances big = tileCells(u * 6 + wx * 1.5f, v * 6 + wy * 1.5f, 6, 21);
      CellDistances small = tileCells(u * 15 + wx * 3, v * 15 + wy * 3, 15, 22);
      float edge = big.second - big.nearest;
      float wall = std::exp(-edge * 7.0f);          // soft bright walls
      float halo = std::exp(-edge * 2.2f) * 0.22f;  // glow spreading from them
      float fine = std::exp(-(small.second - small.nearest) * 12.0f) * 0.28f;
      // Cell interiors: darker in the middle, like a translucent bubble.
      float bubble = smoothStep(0.0f, 0.8f, big.nearest);
      float cloudy = 0.5f + 0.5f * tileFbm(u * 8 + wy, v * 8 + wx, 8, 5, 0.55f, 31);
      float tone = float(big.id & 255) / 255.0f;  // each cell slightly different

      ArtColour c = interior * (0.7f + 0.3f * bubble + 0.5f * cloudy);
      c = mix(c, mix(teal, lilac, tone) * 0.55f, 0.35f);
      c = c + fineTint * fine * (0.5f + cloudy);
      c = c + wallTint * (wall * 0.5f * (0.7f + 0.6f * cloudy) + halo);
      // Small vesicles: soft specks where fine noise peaks.
      float speck = smoothStep(0.6f, 0.82f, tileFbm(u * 40, v * 40, 40, 2, 0.5f, 41));
      c = c + wallTint * (0.22f * speck);
      img.at(x, y) = c;
    }
  }
  return img;
}

ArtImage paintChromatin() {
  const int size = 512;
  ArtImage img(size, size);
  const ArtColour ground{0.30f, 0.27f, 0.38f};
  const ArtColour fibre{0.96f, 0.92f, 1.00f};
  const ArtColour knot{0.78f, 0.70f, 0.95f};
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      float u = (x + 0.5f) / size, v = (y + 0.5f) / size;
      float wx = tileFbm(u * 3, v * 3, 3, 4, 0.5f, 51);
      float wy = tileFbm(u * 3 + 9.7f, v * 3 + 3.3f, 3, 4, 0.5f, 52);
      // Ridged noise along a warped domain reads as tangled threads.
      float threads = tileRidged(u * 5 + wx, v * 5 + wy, 5, 5, 61);
      float threads2 = tileRidged(u * 9 - wy, v * 9 + wx, 9, 4, 62);
      float t = smoothStep(0.35f, 0.95f, threads);
      float t2 = smoothStep(0.5f, 1.0f, threads2) * 0.5f;
      // Dense clumps (heterochromatin) as soft dark-violet patches with bright rims.
      float clump = smoothStep(0.15f, 0.55f, tileFbm(u * 4, v * 4, 4, 3, 0.5f, 71));
      ArtColour c = ground * (0.8f + 0.4f * (0.5f + 0.5f * wx));
      c = mix(c, knot * 0.55f, 0.6f * clump);
      c = c + fibre * (0.75f * t + t2);
      img.at(x, y) = c;
    }
  }
  return img;
}
