#include "tools/builtin_art/picture_finish.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "tools/art/art_math.h"

namespace {

float toLinear(float v) { return std::pow(std::max(v, 0.0f), 2.2f); }
float toDisplay(float v) { return std::pow(std::max(v, 0.0f), 1.0f / 2.2f); }

// The source span [a, b) of one output pixel along an axis, as (index, weight) pairs.
struct Tap {
  int index;
  float weight;
};
std::vector<std::vector<Tap>> areaTaps(int sourceSize, int size) {
  std::vector<std::vector<Tap>> taps(size);
  const double scale = double(sourceSize) / size;
  for (int i = 0; i < size; ++i) {
    const double a = i * scale, b = (i + 1) * scale;
    for (int s = int(std::floor(a)); s < int(std::ceil(b)) && s < sourceSize; ++s) {
      const double w = std::min(b, s + 1.0) - std::max(a, double(s));
      if (w > 0) taps[i].push_back({s, float(w / scale)});
    }
  }
  return taps;
}

std::vector<float> gaussianKernel(float sigma) {
  const int radius = std::max(1, int(std::ceil(sigma * 3)));
  std::vector<float> kernel(2 * radius + 1);
  float sum = 0;
  for (int i = -radius; i <= radius; ++i) sum += kernel[i + radius] = gaussian(float(i), sigma);
  for (float& k : kernel) k /= sum;
  return kernel;
}

float luminance(ArtColour c) { return 0.3f * c.r + 0.55f * c.g + 0.15f * c.b; }

}  // namespace

ArtImage resampleArea(const ArtImage& source, int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (source.width() == 0 || source.height() == 0 || width == 0 || height == 0)
    return ArtImage(width, height);
  const auto across = areaTaps(source.width(), width);
  const auto down = areaTaps(source.height(), height);
  // Across first into linear light, then down and back to display values.
  ArtImage rows(width, source.height());
  for (int y = 0; y < source.height(); ++y) {
    for (int x = 0; x < width; ++x) {
      ArtColour sum;
      for (const Tap& t : across[x]) {
        const ArtColour c = source.at(t.index, y);
        sum = sum + ArtColour{toLinear(c.r), toLinear(c.g), toLinear(c.b)} * t.weight;
      }
      rows.at(x, y) = sum;
    }
  }
  ArtImage out(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      ArtColour sum;
      for (const Tap& t : down[y]) sum = sum + rows.at(x, t.index) * t.weight;
      out.at(x, y) = {toDisplay(sum.r), toDisplay(sum.g), toDisplay(sum.b)};
    }
  }
  return out;
}

ArtImage gaussianBlur(const ArtImage& source, float sigma) {
  if (sigma <= 0) return source;
  const std::vector<float> kernel = gaussianKernel(sigma);
  const int radius = int(kernel.size() / 2);
  const int w = source.width(), h = source.height();
  ArtImage pass(w, h), out(w, h);
  // Edges repeat the border pixel, so the picture does not darken toward its sides.
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      ArtColour sum;
      for (int k = -radius; k <= radius; ++k)
        sum = sum + source.at(std::clamp(x + k, 0, w - 1), y) * kernel[k + radius];
      pass.at(x, y) = sum;
    }
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      ArtColour sum;
      for (int k = -radius; k <= radius; ++k)
        sum = sum + pass.at(x, std::clamp(y + k, 0, h - 1)) * kernel[k + radius];
      out.at(x, y) = sum;
    }
  return out;
}

ArtImage layerStrand(const ArtImage& cells, const ArtImage& strand, const LayerStyle& style) {
  const int w = cells.width(), h = cells.height();
  ArtImage back = gaussianBlur(cells, style.backgroundBlur);
  ArtImage glow = gaussianBlur(strand, style.glowSigma);
  ArtImage out(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const float u = (x + 0.5f) / w - 0.5f, v = (y + 0.5f) / h - 0.5f;
      const float shade = 1.0f - style.vignette * smoothStep(0.2f, 0.75f, std::hypot(u, v) * 1.4f);
      ArtColour c = back.at(x, y) * (style.backgroundGain * shade);
      const float halo = style.glowSigma > 0 ? luminance(glow.at(x, y)) : 0.0f;
      c = c + style.glowColour * (halo * style.glowGain);
      const ArtColour s = strand.at(x, y);
      const float cover = clamp01(std::max({s.r, s.g, s.b}) * 4.0f);
      out.at(x, y) = mix(c, s, cover);
    }
  }
  return out;
}

void stampTitle(ArtImage& image, const TextMask& mask, int x, int y, float glowSigma, ArtColour top,
                ArtColour bottom, ArtColour glow) {
  // The mask with a margin for the shadow and the glow.
  const int margin = int(std::ceil(glowSigma * 3)) + 4;
  ArtImage cover(mask.width + 2 * margin, mask.height + 2 * margin);
  for (int j = 0; j < mask.height; ++j)
    for (int i = 0; i < mask.width; ++i) {
      const float a = mask.at(i, j);
      cover.at(i + margin, j + margin) = {a, a, a};
    }
  const ArtImage soft = gaussianBlur(cover, glowSigma);
  const ArtImage shadow = gaussianBlur(cover, std::max(1.0f, glowSigma * 0.4f));
  const int shadowShift = std::max(1, int(glowSigma * 0.3f));
  for (int j = 0; j < cover.height(); ++j) {
    for (int i = 0; i < cover.width(); ++i) {
      const int px = x - margin + i, py = y - margin + j;
      if (px < 0 || py < 0 || px >= image.width() || py >= image.height()) continue;
      const int si = i - shadowShift, sj = j - shadowShift;
      const float s = si >= 0 && sj >= 0 ? shadow.at(si, sj).r : 0.0f;
      image.blend(px, py, ArtColour{0, 0, 0}, 0.7f * s);
      image.add(px, py, glow * soft.at(i, j).r);
      const float t = clamp01(float(j - margin) / std::max(1, mask.height));
      image.blend(px, py, mix(top, bottom, t), cover.at(i, j).r);
    }
  }
}
