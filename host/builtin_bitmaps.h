#pragma once
// The program's own pictures, built into the executable: bitmap 107 (263 x 180, the picture of
// the configuration dialog), bitmap 112 (155 x 115, the preview picture) and icon 111 in several
// sizes (for the window manager, which picks the size it shows). They are rendered when the
// program is built, from the show's own content, by tools/builtin_art; the bytes never change
// at run time and live as long as the process.
#include <span>

struct BuiltinBitmap {
  int width;
  int height;
  const unsigned char* rgb;
};  // rows top-down, RGB8

constexpr int dialogBitmapId = 107;
constexpr int programIconId = 111;
constexpr int previewBitmapId = 112;

const BuiltinBitmap* builtinBitmap(int id);  // 107, 112, 111 (largest icon); nullptr if unknown

// Every size of icon 111, smallest first; the last one is builtinBitmap(111).
std::span<const BuiltinBitmap> builtinIcons();
