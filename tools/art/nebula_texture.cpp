// Backgrounds: soft nebulae painted on the inside of the shell around the camera.
#include <algorithm>
#include <cmath>

#include "tools/art/art_math.h"
#include "tools/art/art_noise.h"
#include "tools/art/texture_art.h"
#include "tools/common/art_random.h"

namespace {

// Domain-warped fractal noise in 0..1, periodic over u, v in 0..1.
float cloud(float u, float v, int period, uint32_t seed) {
  float qx = tileFbm(u * period, v * period, period, 4, 0.5f, seed);
  float qy = tileFbm(u * period + 5.2f, v * period + 1.3f, period, 4, 0.5f, seed + 1);
  float n = tileFbm(u * period + 1.6f * qx, v * period + 1.6f * qy, period, 7, 0.52f, seed + 2);
  return clamp01(0.5f + 0.75f * n);
}

// Scatters small soft motes, wrapping at the edges so the picture stays tileable.
void scatterMotes(ArtImage& img, int count, ArtColour tint, float strength, uint64_t seed) {
  ArtRandom rng(seed);
  const int w = img.width(), h = img.height();
  for (int i = 0; i < count; ++i) {
    float cx = float(rng.unit() * w), cy = float(rng.unit() * h);
    float radius = float(0.6 + 1.8 * std::pow(rng.unit(), 3.0));
    float bright = strength * float(0.3 + 0.7 * rng.unit());
    ArtColour c = mix(tint, ArtColour{1, 1, 1}, float(rng.unit()) * 0.6f) * bright;
    int reach = int(std::ceil(radius * 3));
    for (int dy = -reach; dy <= reach; ++dy) {
      for (int dx = -reach; dx <= reach; ++dx) {
        int px = int(std::floor(cx)) + dx, py = int(std::floor(cy)) + dy;
        float d = std::hypot(px + 0.5f - cx, py + 0.5f - cy);
        float g = gaussian(d, radius);
        if (g < 0.004f) continue;
        img.add(((px % w) + w) % w, ((py % h) + h) % h, c * g);
      }
    }
  }
}

// The shell maps the picture's rows from pole to pole, so its top and bottom rows shrink to
// one point each, reached by a fan of triangles from the first ring of the mesh (a sixth of the
// way, meshes\lows.dat having six rings). Whatever varies along a row inside that fan is
// smeared into streaks converging on the pole, so up to the first ring each row is its own
// mean colour, and the detail comes back by the second. The mean changes smoothly from row to
// row, so the fade shows no edge of its own.
void calmPoles(ArtImage& img) {
  const int w = img.width(), h = img.height();
  const float firstRing = 1.0f / 6, secondRing = 2.0f / 6;
  for (int y = 0; y < h; ++y) {
    const float v = (y + 0.5f) / h;
    const float fromPole = std::min(v, 1.0f - v);
    const float keep = smoothStep(firstRing, secondRing, fromPole);
    if (keep >= 1.0f) continue;
    ArtColour mean{0, 0, 0};
    for (int x = 0; x < w; ++x) mean = mean + img.at(x, y);
    mean = mean * (1.0f / w);
    for (int x = 0; x < w; ++x) img.at(x, y) = mix(mean, img.at(x, y), keep);
  }
}

}  // namespace

ArtImage paintCellsBackground() {
  const int size = 1024;
  ArtImage img(size, size);
  const ArtColour deep{0.010f, 0.018f, 0.050f};
  const ArtColour teal{0.05f, 0.42f, 0.48f};
  const ArtColour blue{0.08f, 0.16f, 0.52f};
  const ArtColour violet{0.36f, 0.14f, 0.55f};
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      float u = (x + 0.5f) / size, v = (y + 0.5f) / size;
      float a = cloud(u, v, 2, 101);
      float b = cloud(u + 0.37f, v + 0.11f, 3, 201);
      float dust = 0.5f + 0.5f * tileFbm(u * 24, v * 24, 24, 4, 0.55f, 301);
      float tealMass = std::pow(smoothStep(0.45f, 0.95f, a), 1.6f);
      float violetMass = std::pow(smoothStep(0.42f, 0.95f, b), 1.5f);
      float haze = smoothStep(0.2f, 0.8f, 0.5f * (a + b));
      ArtColour c = deep + blue * (0.22f * haze);
      c = c + teal * (0.65f * tealMass * (0.7f + 0.3f * dust));
      c = c + violet * (0.85f * violetMass * (0.7f + 0.3f * dust));
      // Where both clouds meet, a pale luminous core.
      c = c + ArtColour{0.55f, 0.75f, 0.85f} * (0.35f * tealMass * violetMass);
      img.at(x, y) = c;
    }
  }
  scatterMotes(img, 1400, ArtColour{0.55f, 0.8f, 1.0f}, 0.45f, 0xE17);
  calmPoles(img);
  return img;
}

ArtImage paintNucleusBackground() {
  const int size = 1024;
  ArtImage img(size, size);
  const ArtColour shadow{0.07f, 0.075f, 0.10f};
  const ArtColour pale{0.62f, 0.68f, 0.78f};
  const ArtColour lavender{0.66f, 0.58f, 0.80f};
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      float u = (x + 0.5f) / size, v = (y + 0.5f) / size;
      float a = cloud(u, v, 2, 401);
      float veil = std::pow(smoothStep(0.25f, 0.9f, a), 1.1f);
      // Long faint filaments drifting through the veils.
      float fil = tileRidged(u * 3 + 0.8f * a, v * 3, 3, 5, 501);
      float filament = std::pow(smoothStep(0.55f, 1.0f, fil), 2.0f);
      float tone = cloud(u + 0.5f, v + 0.25f, 2, 601);
      ArtColour c = shadow + mix(pale, lavender, tone) * (0.6f * veil);
      c = c + pale * (0.4f * filament * (0.4f + 0.6f * veil));
      img.at(x, y) = c;
    }
  }
  scatterMotes(img, 900, ArtColour{0.8f, 0.8f, 0.95f}, 0.35f, 0xD0E);
  calmPoles(img);
  return img;
}
