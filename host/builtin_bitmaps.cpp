#include "host/builtin_bitmaps.h"

#include "host/builtin_art_data.h"

const BuiltinBitmap* builtinBitmap(int id) {
  const BuiltinBitmap* found = nullptr;
  for (int i = 0; i < builtinArtEntryCount; ++i)
    if (builtinArtEntries[i].id == id) found = &builtinArtEntries[i].bitmap;
  return found;
}

std::span<const BuiltinBitmap> builtinIcons() {
  // The generated table is not an array of BuiltinBitmap, so the icons are gathered once.
  static const std::span<const BuiltinBitmap> icons = [] {
    static BuiltinBitmap sizes[16];
    std::size_t count = 0;
    for (int i = 0; i < builtinArtEntryCount && count < std::size(sizes); ++i)
      if (builtinArtEntries[i].id == programIconId) sizes[count++] = builtinArtEntries[i].bitmap;
    return std::span<const BuiltinBitmap>(sizes, count);
  }();
  return icons;
}
