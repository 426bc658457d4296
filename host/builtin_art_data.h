#pragma once
// The pictures' bytes, in a source file that the build generates (tools/builtin_art).
#include "host/builtin_bitmaps.h"

struct BuiltinArtEntry {
  int id;
  BuiltinBitmap bitmap;
};

// Grouped by id; the sizes of one id come smallest first.
extern const BuiltinArtEntry builtinArtEntries[];
extern const int builtinArtEntryCount;
