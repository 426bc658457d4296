#pragma once
// A picture as the recorder's outputs want it: 8-bit RGB, top row first, rows packed.
#include <cstdint>
#include <vector>

struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> pixels;  // width * height * 3
};

// From the framebuffer's RGBA rows, bottom row first (as glReadPixels gives them). A buffer
// shorter than width x height x 4 gives an empty image.
RgbImage imageFromFramebuffer(const std::vector<std::uint8_t>& rgba, int width, int height);

// Writes `image` as a PNG file; false (with the reason on stderr) when it cannot.
bool writePng(const char* path, const RgbImage& image);
