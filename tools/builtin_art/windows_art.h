#pragma once
// The built-in pictures as Windows resource files, for the resource compiler: bitmaps as
// 24-bit BMP files (BI_RGB, rows bottom-up, each padded to 4 bytes) and the icon as an ICO
// file. Icon entries below 256 pixels are 32-bit BGRA bitmaps with an all-clear AND mask (the
// pictures are opaque); 256-pixel entries are PNG images, as Windows expects for that size.
//
// Both return an empty vector for a picture whose bytes do not match its size, a size of
// 0 or over 4096 (BMP) or over 256 (ICO, whose directory stores sizes in one byte), or an
// icon with no entries or more than the directory's 16-bit count allows.
#include <vector>

#include "tools/builtin_art/embed_source.h"

std::vector<unsigned char> bmpFile(const EmbeddedPicture& picture);

// Entries in the order given (square or not; smallest first is the convention).
std::vector<unsigned char> icoFile(const std::vector<EmbeddedPicture>& sizes);
