#include "tools/builtin_art/windows_art.h"

#include <png.h>

#include <cstddef>
#include <cstdint>

namespace {

constexpr int kMaxBitmapSide = 4096;
constexpr int kMaxIconSide = 256;
// Windows takes icon entries of this size as PNG images.
constexpr int kPngIconSide = 256;

using Bytes = std::vector<unsigned char>;

void put16(Bytes& out, unsigned value) {
  out.push_back(static_cast<unsigned char>(value & 0xFF));
  out.push_back(static_cast<unsigned char>((value >> 8) & 0xFF));
}

void put32(Bytes& out, std::uint32_t value) {
  put16(out, value & 0xFFFF);
  put16(out, value >> 16);
}

bool consistent(const EmbeddedPicture& p, int maxSide) {
  return p.width > 0 && p.height > 0 && p.width <= maxSide && p.height <= maxSide &&
         p.rgb.size() == std::size_t(p.width) * std::size_t(p.height) * 3;
}

// BITMAPINFOHEADER with BI_RGB.
void putInfoHeader(Bytes& out, int width, int height, unsigned bitCount, std::uint32_t imageSize) {
  put32(out, 40);
  put32(out, static_cast<std::uint32_t>(width));
  put32(out, static_cast<std::uint32_t>(height));
  put16(out, 1);  // planes
  put16(out, bitCount);
  put32(out, 0);  // BI_RGB
  put32(out, imageSize);
  put32(out, 2835);  // 72 dots per inch, in dots per metre
  put32(out, 2835);
  put32(out, 0);  // colours used
  put32(out, 0);  // important colours
}

const unsigned char* pixel(const EmbeddedPicture& p, int x, int y) {
  return p.rgb.data() + (std::size_t(y) * std::size_t(p.width) + std::size_t(x)) * 3;
}

// The icon entry as a BMP without its file header: BGRA rows, then the AND mask, both
// bottom-up; the header's height counts both halves.
Bytes iconBitmap(const EmbeddedPicture& p) {
  const std::size_t maskStride = ((std::size_t(p.width) + 31) / 32) * 4;
  const std::size_t colourBytes = std::size_t(p.width) * p.height * 4;
  const std::size_t maskBytes = maskStride * p.height;
  Bytes out;
  out.reserve(40 + colourBytes + maskBytes);
  putInfoHeader(out, p.width, p.height * 2, 32,
                static_cast<std::uint32_t>(colourBytes + maskBytes));
  for (int y = p.height - 1; y >= 0; --y) {
    for (int x = 0; x < p.width; ++x) {
      const unsigned char* rgb = pixel(p, x, y);
      out.insert(out.end(), {rgb[2], rgb[1], rgb[0], 0xFF});
    }
  }
  out.insert(out.end(), maskBytes, 0);  // every pixel drawn
  return out;
}

Bytes iconPng(const EmbeddedPicture& p) {
  Bytes rgba;
  rgba.reserve(std::size_t(p.width) * p.height * 4);
  for (std::size_t i = 0; i < p.rgb.size(); i += 3)
    rgba.insert(rgba.end(), {p.rgb[i], p.rgb[i + 1], p.rgb[i + 2], 0xFF});
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(p.width);
  image.height = static_cast<png_uint_32>(p.height);
  image.format = PNG_FORMAT_RGBA;
  png_alloc_size_t size = 0;
  // The first call measures, the second writes.
  if (!png_image_write_to_memory(&image, nullptr, &size, 0, rgba.data(), 0, nullptr)) {
    png_image_free(&image);
    return {};
  }
  Bytes out(size);
  if (!png_image_write_to_memory(&image, out.data(), &size, 0, rgba.data(), 0, nullptr)) {
    png_image_free(&image);
    return {};
  }
  out.resize(size);
  return out;
}

}  // namespace

Bytes bmpFile(const EmbeddedPicture& picture) {
  if (!consistent(picture, kMaxBitmapSide)) return {};
  const std::size_t stride = (std::size_t(picture.width) * 3 + 3) / 4 * 4;
  const std::size_t imageSize = stride * picture.height;
  constexpr std::uint32_t kHeaders = 14 + 40;
  Bytes out;
  out.reserve(kHeaders + imageSize);
  out.insert(out.end(), {'B', 'M'});
  put32(out, static_cast<std::uint32_t>(kHeaders + imageSize));
  put32(out, 0);  // reserved
  put32(out, kHeaders);
  putInfoHeader(out, picture.width, picture.height, 24, static_cast<std::uint32_t>(imageSize));
  const std::size_t padding = stride - std::size_t(picture.width) * 3;
  for (int y = picture.height - 1; y >= 0; --y) {
    for (int x = 0; x < picture.width; ++x) {
      const unsigned char* rgb = pixel(picture, x, y);
      out.insert(out.end(), {rgb[2], rgb[1], rgb[0]});
    }
    out.insert(out.end(), padding, 0);
  }
  return out;
}

Bytes icoFile(const std::vector<EmbeddedPicture>& sizes) {
  if (sizes.empty() || sizes.size() > 0xFFFF) return {};
  std::vector<Bytes> images;
  for (const EmbeddedPicture& p : sizes) {
    if (!consistent(p, kMaxIconSide)) return {};
    images.push_back(p.width == kPngIconSide || p.height == kPngIconSide ? iconPng(p)
                                                                         : iconBitmap(p));
    if (images.back().empty()) return {};
  }
  Bytes out;
  put16(out, 0);  // reserved
  put16(out, 1);  // an icon, not a cursor
  put16(out, static_cast<unsigned>(sizes.size()));
  std::size_t offset = 6 + 16 * sizes.size();
  for (std::size_t i = 0; i < sizes.size(); ++i) {
    // One byte per side, where 0 stands for 256.
    out.push_back(static_cast<unsigned char>(sizes[i].width & 0xFF));
    out.push_back(static_cast<unsigned char>(sizes[i].height & 0xFF));
    out.push_back(0);  // colours in a palette: none
    out.push_back(0);  // reserved
    put16(out, 1);     // planes
    put16(out, 32);    // bits per pixel
    put32(out, static_cast<std::uint32_t>(images[i].size()));
    put32(out, static_cast<std::uint32_t>(offset));
    offset += images[i].size();
  }
  for (const Bytes& image : images) out.insert(out.end(), image.begin(), image.end());
  return out;
}
