// The atoms' sphere map and the rungs' band.
#include <cmath>

#include "tools/art/art_math.h"
#include "tools/art/art_noise.h"
#include "tools/art/texture_art.h"

ArtImage paintAtomHighlight() {
  const int size = 256;
  ArtImage img(size, size);
  // Directions as the sphere map sees them: x right, y up (row 0 is the top), z to the viewer.
  const float keyX = -0.45f, keyY = 0.55f, keyZ = 0.70f;  // soft key light, upper left
  const float rimX = 0.60f, rimY = -0.55f, rimZ = 0.58f;  // cool rim, lower right
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      float nx = 2 * (x + 0.5f) / size - 1;
      float ny = 1 - 2 * (y + 0.5f) / size;
      float r2 = nx * nx + ny * ny;
      // Outside the disc the map is never sampled by a visible normal, but mipmaps blend
      // it in at the rim: continue the edge colour instead of leaving black there.
      float r = std::sqrt(r2);
      if (r > 0.999f) {
        nx /= r / 0.999f;
        ny /= r / 0.999f;
        r2 = 0.998f;
      }
      float nz = std::sqrt(std::max(0.0f, 1 - r2));
      float key = std::max(0.0f, nx * keyX + ny * keyY + nz * keyZ);
      float rim = std::max(0.0f, nx * rimX + ny * rimY + nz * rimZ);
      float specular = std::pow(key, 40.0f);
      float sheen = std::pow(key, 6.0f);
      float fresnel = std::pow(1 - nz, 3.0f);
      ArtColour c{0.30f, 0.32f, 0.36f};
      c = c + ArtColour{0.50f, 0.50f, 0.52f} * key;
      c = c + ArtColour{0.35f, 0.35f, 0.35f} * sheen;
      c = c + ArtColour{1.0f, 1.0f, 1.0f} * specular;
      c = c + ArtColour{0.20f, 0.45f, 0.70f} * (0.6f * std::pow(rim, 4.0f) + 0.4f * fresnel);
      img.at(x, y) = c;
    }
  }
  return img;
}

ArtImage paintRungBand() {
  const int size = 256;
  ArtImage img(size, size);
  const ArtColour cyan{0.55f, 0.95f, 1.00f};
  const ArtColour violet{0.90f, 0.60f, 1.00f};
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      float s = (x + 0.5f) / size, t = (y + 0.5f) / size;
      float across = std::fabs(t - 0.5f);
      float glow = gaussian(across, 0.16f);
      float core = gaussian(across, 0.045f);
      // Two bases meeting in the middle: a faint gap where they pair up.
      float gap = 1 - 0.55f * gaussian(s - 0.5f, 0.018f);
      float beads = 0.8f + 0.2f * std::cos(2 * kPi * 7 * s);
      float shimmer = 0.92f + 0.08f * tileNoise(s * 16, 0.5f, 16, 81);
      ArtColour hue = mix(cyan, violet, smoothStep(0.42f, 0.58f, s));
      float lum = (0.45f * glow + 0.75f * core) * gap * beads * shimmer;
      img.at(x, y) = hue * lum + ArtColour{1, 1, 1} * (0.35f * core * core * gap);
    }
  }
  return img;
}
