// The loading picture: "Plasmora" over a glowing double helix. The picture is stored
// square but shown on the 800 x 600 overlay, so it is painted in those logical units
// and every shape is measured there: circles and letters come out round on screen.
#include <algorithm>
#include <cmath>
#include <vector>

#include "tools/art/art_math.h"
#include "tools/art/art_noise.h"
#include "tools/art/font_face.h"
#include "tools/art/texture_art.h"

namespace {

constexpr int kSize = 1024;
constexpr float kSx = kSize / 800.0f;  // pixels per logical unit, across
constexpr float kSy = kSize / 600.0f;  // and down

struct Box {
  int x0, y0, x1, y1;
};

// Pixels whose logical position lies within `reach` of (cx, cy).
Box around(float cx, float cy, float reach) {
  Box b{int(std::floor((cx - reach) * kSx)), int(std::floor((cy - reach) * kSy)),
        int(std::ceil((cx + reach) * kSx)), int(std::ceil((cy + reach) * kSy))};
  b.x0 = std::max(b.x0, 0);
  b.y0 = std::max(b.y0, 0);
  b.x1 = std::min(b.x1, kSize - 1);
  b.y1 = std::min(b.y1, kSize - 1);
  return b;
}

float logicalX(int px) { return (px + 0.5f) / kSx; }
float logicalY(int py) { return (py + 0.5f) / kSy; }

void paintBackdrop(ArtImage& img) {
  for (int py = 0; py < kSize; ++py) {
    for (int px = 0; px < kSize; ++px) {
      float x = logicalX(px), y = logicalY(py);
      float u = x / 800, v = y / 600;
      ArtColour c = mix(ArtColour{0.012f, 0.02f, 0.06f}, ArtColour{0.03f, 0.035f, 0.09f}, v);
      float n = 0.5f + 0.5f * tileFbm(u * 3, v * 3, 3, 6, 0.55f, 901);
      float m = 0.5f + 0.5f * tileFbm(u * 2 + 0.3f, v * 2, 2, 5, 0.5f, 902);
      c = c + ArtColour{0.04f, 0.20f, 0.26f} * std::pow(smoothStep(0.45f, 1.0f, n), 1.5f);
      c = c + ArtColour{0.20f, 0.08f, 0.30f} * std::pow(smoothStep(0.5f, 1.0f, m), 1.5f);
      float d = std::hypot((x - 400) / 420, (y - 300) / 300);
      c = c + ArtColour{0.05f, 0.09f, 0.16f} * gaussian(d, 0.45f);
      img.at(px, py) = c;
    }
  }
}

// One element of the helix, drawn back to front.
struct Bead {
  float depth;  // -1 far .. 1 near
  bool rung;
  float x, y, x2, y2, radius;
  ArtColour colour;
};

float segmentDistance(float px, float py, float ax, float ay, float bx, float by) {
  float dx = bx - ax, dy = by - ay;
  float len2 = dx * dx + dy * dy;
  float t = len2 > 0 ? clamp01(((px - ax) * dx + (py - ay) * dy) / len2) : 0;
  return std::hypot(px - (ax + t * dx), py - (ay + t * dy));
}

void paintRung(ArtImage& img, const Bead& b, float fade) {
  const float reach = 10;
  Box box = around(0.5f * (b.x + b.x2), 0.5f * (b.y + b.y2),
                   0.5f * std::max(std::fabs(b.x2 - b.x), std::fabs(b.y2 - b.y)) + reach);
  float bright = fade * (0.35f + 0.3f * (b.depth + 1) * 0.5f);
  for (int py = box.y0; py <= box.y1; ++py) {
    for (int px = box.x0; px <= box.x1; ++px) {
      float d = segmentDistance(logicalX(px), logicalY(py), b.x, b.y, b.x2, b.y2);
      float g = 0.8f * gaussian(d, 1.2f) + 0.35f * gaussian(d, 4.0f);
      if (g > 0.002f) img.add(px, py, b.colour * (g * bright));
    }
  }
}

void paintAtom(ArtImage& img, const Bead& b, float fade) {
  float near = (b.depth + 1) * 0.5f;  // 0 far .. 1 near
  Box box = around(b.x, b.y, b.radius * 3);
  for (int py = box.y0; py <= box.y1; ++py) {
    for (int px = box.x0; px <= box.x1; ++px) {
      float dx = (logicalX(px) - b.x) / b.radius, dy = (logicalY(py) - b.y) / b.radius;
      float r = std::hypot(dx, dy);
      // Soft halo first, then the shaded sphere over it.
      img.add(px, py, b.colour * (0.18f * fade * gaussian(r, 1.1f)));
      if (r >= 1.05f) continue;
      float nz = std::sqrt(std::max(0.0f, 1 - std::min(r * r, 1.0f)));
      float lit = std::max(0.0f, -0.45f * dx - 0.5f * dy + 0.74f * nz);
      float specular = std::pow(lit, 30.0f);
      ArtColour c = b.colour * (0.25f + 0.75f * lit) * (0.45f + 0.55f * near) +
                    ArtColour{1, 1, 1} * (0.8f * specular * near);
      float edge = clamp01((1.05f - r) / 0.1f) * fade;  // anti-aliased rim
      img.blend(px, py, c, edge);
    }
  }
}

void paintHelix(ArtImage& img) {
  // The axis runs gently downhill from left to right across the whole picture.
  const float ax = -60, ay = 360, bx = 860, by = 250;
  const float len = std::hypot(bx - ax, by - ay);
  const float ux = (bx - ax) / len, uy = (by - ay) / len;  // along the axis
  const float nx = -uy, ny = ux;                           // across it
  const float radius = 70, pitch = 250;
  const ArtColour strandA{0.30f, 0.88f, 1.00f}, strandB{0.78f, 0.52f, 1.00f};
  const ArtColour rungA{0.45f, 0.90f, 1.0f}, rungB{0.85f, 0.65f, 1.0f};

  std::vector<Bead> beads;
  const int steps = int(len / 9);
  for (int k = 0; k <= steps; ++k) {
    float s = k * 9.0f;
    float theta = 2 * kPi * s / pitch;
    float cx = ax + ux * s, cy = ay + uy * s;
    for (int strand = 0; strand < 2; ++strand) {
      float th = theta + strand * kPi;
      float off = radius * std::sin(th), depth = std::cos(th);
      Bead b{depth, false, cx + nx * off,       cy + ny * off,
             0,     0,     6.5f + 2.5f * depth, strand ? strandB : strandA};
      beads.push_back(b);
    }
    if (k % 3 == 0) {
      float offA = radius * std::sin(theta), offB = -offA;
      float depth = 0.5f * (std::cos(theta) + std::cos(theta + kPi)) - 0.2f;
      // A rung is two half bonds, each in its own strand's colour.
      float mx = cx, my = cy;
      beads.push_back({depth - 0.01f, true, cx + nx * offA, cy + ny * offA, mx, my, 0, rungA});
      beads.push_back({depth - 0.01f, true, mx, my, cx + nx * offB, cy + ny * offB, 0, rungB});
    }
  }
  std::stable_sort(beads.begin(), beads.end(),
                   [](const Bead& a, const Bead& b) { return a.depth < b.depth; });
  for (const Bead& b : beads) {
    // Fade towards the picture's side edges so the helix emerges from the dark.
    float fade = smoothStep(-40, 140, b.x) * smoothStep(840, 660, b.x);
    if (fade <= 0.001f) continue;
    if (b.rung)
      paintRung(img, b, fade);
    else
      paintAtom(img, b, fade);
  }
}

// Three passes of a running box filter approximate a gaussian blur.
void blur(std::vector<float>& m, int w, int h, int rx, int ry) {
  std::vector<float> tmp(std::max(w, h));
  for (int pass = 0; pass < 3; ++pass) {
    for (int y = 0; y < h; ++y) {
      float* row = &m[size_t(y) * w];
      float sum = 0;
      for (int x = -rx; x <= rx; ++x) sum += row[std::clamp(x, 0, w - 1)];
      for (int x = 0; x < w; ++x) {
        tmp[x] = sum / float(2 * rx + 1);
        sum += row[std::min(x + rx + 1, w - 1)] - row[std::max(x - rx, 0)];
      }
      std::copy_n(tmp.begin(), w, row);
    }
    for (int x = 0; x < w; ++x) {
      float sum = 0;
      for (int y = -ry; y <= ry; ++y) sum += m[size_t(std::clamp(y, 0, h - 1)) * w + x];
      for (int y = 0; y < h; ++y) {
        tmp[y] = sum / float(2 * ry + 1);
        sum +=
            m[size_t(std::min(y + ry + 1, h - 1)) * w + x] - m[size_t(std::max(y - ry, 0)) * w + x];
      }
      for (int y = 0; y < h; ++y) m[size_t(y) * w + x] = tmp[y];
    }
  }
}

bool paintTitle(ArtImage& img, std::string& error) {
  FontFace font;
  if (!font.open(std::string(kDejaVuFolder) + "DejaVuSans.ttf", error)) return false;
  const float em = 118;  // logical units
  TextMask m;
  if (!font.render("Plasmora", int(std::lround(em * kSx)), int(std::lround(em * kSy)), m, error))
    return false;
  // Centre the ink on the picture, a little above the middle.
  int left = (kSize - m.width) / 2;
  int top = int(std::lround(290 * kSy)) - m.height / 2;

  std::vector<float> mask(size_t(kSize) * kSize, 0.0f);
  for (int y = 0; y < m.height; ++y)
    for (int x = 0; x < m.width; ++x) {
      int px = left + x, py = top + y;
      if (px >= 0 && py >= 0 && px < kSize && py < kSize)
        mask[size_t(py) * kSize + px] = m.at(x, y);
    }
  std::vector<float> shade = mask, glow = mask;
  blur(shade, kSize, kSize, int(6 * kSx), int(6 * kSy));
  blur(glow, kSize, kSize, int(14 * kSx), int(14 * kSy));
  for (int py = 0; py < kSize; ++py)
    for (int px = 0; px < kSize; ++px) {
      size_t i = size_t(py) * kSize + px;
      ArtColour& c = img.at(px, py);
      c = c * (1 - 0.7f * clamp01(shade[i] * 2.5f));  // lift the letters off the helix
      c = c + ArtColour{0.25f, 0.75f, 0.95f} * (0.9f * glow[i]);
      c = mix(c, ArtColour{0.97f, 0.99f, 1.0f}, mask[i]);
    }
  return true;
}

void vignette(ArtImage& img) {
  for (int py = 0; py < kSize; ++py)
    for (int px = 0; px < kSize; ++px) {
      float d = std::hypot((logicalX(px) - 400) / 400, (logicalY(py) - 300) / 300);
      img.at(px, py) = img.at(px, py) * (1 - 0.55f * smoothStep(0.7f, 1.45f, d));
    }
}

}  // namespace

bool paintLoadingPicture(ArtImage& out, std::string& error) {
  out = ArtImage(kSize, kSize);
  paintBackdrop(out);
  paintHelix(out);
  if (!paintTitle(out, error)) return false;
  vignette(out);
  return true;
}
