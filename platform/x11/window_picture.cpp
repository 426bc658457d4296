#include "platform/window_picture.h"

#include <X11/Xutil.h>

#include <bit>
#include <cstdint>
#include <cstdlib>

#include "platform/x11/x11_connection.h"
#include "platform/x11/x11_windows.h"

namespace {

constexpr int maxSide = 4096;

// One 8-bit channel placed into a TrueColor visual's mask.
unsigned long channel(unsigned char value, unsigned long mask) {
  const int shift = std::countr_zero(mask);
  const int bits = std::popcount(mask);
  const unsigned long scaled = bits >= 8 ? static_cast<unsigned long>(value) << (bits - 8)
                                         : static_cast<unsigned long>(value) >> (8 - bits);
  return (scaled << shift) & mask;
}

}  // namespace

bool drawPicture(WindowHandle window, int x, int y, int width, int height,
                 const unsigned char* rgb) {
  Display* display = x11Display();
  if (display == nullptr || findX11Window(window) == nullptr || rgb == nullptr || width <= 0 ||
      height <= 0 || width > maxSide || height > maxSide)
    return false;
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(display, window, &attributes)) return false;
  Visual* visual = attributes.visual;
  if (visual == nullptr || visual->c_class != TrueColor) return false;
  XImage* image =
      XCreateImage(display, visual, static_cast<unsigned>(attributes.depth), ZPixmap, 0, nullptr,
                   static_cast<unsigned>(width), static_cast<unsigned>(height), 32, 0);
  if (image == nullptr) return false;
  image->data = static_cast<char*>(std::malloc(static_cast<std::size_t>(image->bytes_per_line) *
                                               static_cast<std::size_t>(height)));
  if (image->data == nullptr) {
    XDestroyImage(image);
    return false;
  }
  for (int row = 0; row < height; ++row) {
    for (int col = 0; col < width; ++col) {
      const unsigned char* p = rgb + (static_cast<std::size_t>(row) * width + col) * 3;
      XPutPixel(image, col, row,
                channel(p[0], visual->red_mask) | channel(p[1], visual->green_mask) |
                    channel(p[2], visual->blue_mask));
    }
  }
  GC gc = XCreateGC(display, window, 0, nullptr);
  XPutImage(display, window, gc, image, 0, 0, x, y, static_cast<unsigned>(width),
            static_cast<unsigned>(height));
  XFreeGC(display, gc);
  XDestroyImage(image);  // frees the pixels too
  XFlush(display);
  return true;
}
