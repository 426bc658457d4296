#include "recorder/rgb_image.h"

#include <png.h>

#include <cstdio>

RgbImage imageFromFramebuffer(const std::vector<std::uint8_t>& rgba, int width, int height) {
  RgbImage image;
  if (width <= 0 || height <= 0 ||
      rgba.size() < static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4)
    return image;
  image.width = width;
  image.height = height;
  image.pixels.resize(static_cast<std::size_t>(width) * height * 3);
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* from = rgba.data() + static_cast<std::size_t>(height - 1 - y) * width * 4;
    std::uint8_t* to = image.pixels.data() + static_cast<std::size_t>(y) * width * 3;
    for (int x = 0; x < width; ++x, from += 4, to += 3) {
      to[0] = from[0];
      to[1] = from[1];
      to[2] = from[2];
    }
  }
  return image;
}

bool writePng(const char* path, const RgbImage& image) {
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  png.width = static_cast<png_uint_32>(image.width);
  png.height = static_cast<png_uint_32>(image.height);
  png.format = PNG_FORMAT_RGB;
  // Many frames a second: fast compression matters more than the last few per cent of size.
  png.flags = PNG_IMAGE_FLAG_FAST;
  if (image.pixels.size() != static_cast<std::size_t>(image.width) * image.height * 3 ||
      !png_image_write_to_file(&png, path, 0, image.pixels.data(), 0, nullptr)) {
    std::fprintf(stderr, "plasmora-record: cannot write %s: %s\n", path,
                 png.warning_or_error ? png.message : "bad picture");
    png_image_free(&png);
    return false;
  }
  return true;
}
