#include "platform/win32/rgb_dib.h"

#include <cstddef>

bool makeRgbDib(int width, int height, const unsigned char* rgb, RgbDib& dib) {
  dib = RgbDib{};
  if (rgb == nullptr || width <= 0 || height <= 0 || width > kMaxDibSide || height > kMaxDibSide)
    return false;
  const std::size_t stride = (std::size_t(width) * 3 + 3) / 4 * 4;
  dib.bits.assign(stride * std::size_t(height), 0);
  for (int y = 0; y < height; ++y) {
    const unsigned char* from = rgb + std::size_t(y) * std::size_t(width) * 3;
    unsigned char* to = dib.bits.data() + std::size_t(y) * stride;
    for (int x = 0; x < width; ++x, from += 3, to += 3) {
      to[0] = from[2];
      to[1] = from[1];
      to[2] = from[0];
    }
  }
  BITMAPINFOHEADER& header = dib.info.bmiHeader;
  header.biSize = sizeof header;
  header.biWidth = width;
  header.biHeight = -height;  // top-down, as the pixels come
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  header.biSizeImage = static_cast<DWORD>(dib.bits.size());
  return true;
}
