// The preview's picture on Windows: the pixels copied 1:1 into the window's client area with
// GDI, which converts them to the display's format and clips them to the window.
#include "platform/window_picture.h"

#include "platform/win32/rgb_dib.h"
#include "platform/win32/win32_windows.h"

bool drawPicture(WindowHandle window, int x, int y, int width, int height,
                 const unsigned char* rgb) {
  HWND handle = reinterpret_cast<HWND>(window);
  RgbDib dib;
  if (!win32OwnWindow(handle) || !makeRgbDib(width, height, rgb, dib)) return false;
  HDC device = GetDC(handle);
  if (device == nullptr) return false;
  // A top-down source drawn at its own size: StretchDIBits takes it as it lies.
  const int lines = StretchDIBits(device, x, y, width, height, 0, 0, width, height, dib.bits.data(),
                                  &dib.info, DIB_RGB_COLORS, SRCCOPY);
  GdiFlush();
  ReleaseDC(handle, device);
  return lines > 0;  // 0, or GDI_ERROR read as an int, on failure
}
