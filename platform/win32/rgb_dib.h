#pragma once
// An RGB8 picture (rows top-down) as a device-independent bitmap that GDI can draw: 24-bit
// BI_RGB, blue first, rows top-down (a negative height) and padded to 4 bytes.
#include <windows.h>

#include <vector>

struct RgbDib {
  BITMAPINFO info{};
  std::vector<unsigned char> bits;
};

// Pictures beyond this many pixels either way are refused as implausible.
constexpr int kMaxDibSide = 4096;

// False, leaving `dib` empty, for no pixels, an empty size or one over kMaxDibSide.
bool makeRgbDib(int width, int height, const unsigned char* rgb, RgbDib& dib);
