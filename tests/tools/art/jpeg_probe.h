#pragma once
// A generated JPEG decoded by the saver's own loader, read with rows top to bottom and
// `components` bytes per pixel.
#include <vector>

#include "assets/jpeg_image.h"

struct ProbedImage {
  int width = 0, height = 0, components = 0;
  DecodedImage image;  // rows bottom-up, as the loader stores them
  float value(int x, int y, int c) const {
    return image.pixels[(size_t(height - 1 - y) * width + x) * components + c] / 255.0f;
  }
  float luma(int x, int y) const {
    return components == 3
               ? (0.299f * value(x, y, 0) + 0.587f * value(x, y, 1) + 0.114f * value(x, y, 2))
               : value(x, y, 0);
  }
};

// False when the bytes do not decode.
inline bool probeJpeg(const std::vector<unsigned char>& bytes, ProbedImage& out) {
  out = ProbedImage{};
  if (!decodeJpeg(bytes.data(), bytes.size(), out.image) || out.image.width <= 0) return false;
  out.width = out.image.width;
  out.height = out.image.height;
  out.components = out.image.components;
  return true;
}
