#include "tools/art/font_face.h"

#include <algorithm>
#include <climits>

#include <ft2build.h>
#include FT_FREETYPE_H

FontFace::FontFace() {
  FT_Library lib = nullptr;
  if (FT_Init_FreeType(&lib) == 0) library = lib;
}

FontFace::~FontFace() {
  if (face) FT_Done_Face(static_cast<FT_Face>(face));
  if (library) FT_Done_FreeType(static_cast<FT_Library>(library));
}

bool FontFace::open(const std::string& path, std::string& error) {
  if (!library) {
    error = "FreeType could not be initialised";
    return false;
  }
  if (face) {
    FT_Done_Face(static_cast<FT_Face>(face));
    face = nullptr;
  }
  FT_Face f = nullptr;
  if (FT_New_Face(static_cast<FT_Library>(library), path.c_str(), 0, &f) != 0) {
    error = "cannot open the font " + path + " (install the package fonts-dejavu-core)";
    return false;
  }
  face = f;
  return true;
}

bool FontFace::render(const std::string& text, int pixelWidth, int pixelHeight, TextMask& out,
                      std::string& error) {
  out = TextMask{};
  auto* f = static_cast<FT_Face>(face);
  if (!f) {
    error = "no font is open";
    return false;
  }
  if (pixelWidth < 1 || pixelHeight < 1 || pixelWidth > 4096 || pixelHeight > 4096) {
    error = "font size out of range";
    return false;
  }
  if (FT_Set_Pixel_Sizes(f, FT_UInt(pixelWidth), FT_UInt(pixelHeight)) != 0) {
    error = "the font cannot be scaled to the requested size";
    return false;
  }
  // First pass: the ink box relative to the pen's start on the baseline (y up).
  struct Placed {
    int x, top, w, h;
    std::vector<unsigned char> bits;
  };
  std::vector<Placed> placed;
  long pen = 0;  // 26.6 fixed point
  FT_UInt previous = 0;
  int minX = INT_MAX, maxX = INT_MIN, minY = INT_MAX, maxY = INT_MIN;
  for (unsigned char ch : text) {
    FT_UInt index = FT_Get_Char_Index(f, ch);
    if (previous && index && FT_HAS_KERNING(f)) {
      FT_Vector k;
      if (FT_Get_Kerning(f, previous, index, FT_KERNING_DEFAULT, &k) == 0) pen += k.x;
    }
    if (FT_Load_Glyph(f, index, FT_LOAD_RENDER) != 0) {
      error = "the font cannot render the character '" + std::string(1, char(ch)) + "'";
      return false;
    }
    FT_GlyphSlot g = f->glyph;
    const FT_Bitmap& bm = g->bitmap;
    if (bm.pixel_mode != FT_PIXEL_MODE_GRAY) {
      error = "the font gave no grey-level bitmap";
      return false;
    }
    Placed p{int(pen >> 6) + g->bitmap_left, g->bitmap_top, int(bm.width), int(bm.rows), {}};
    p.bits.resize(size_t(p.w) * p.h);
    for (int r = 0; r < p.h; ++r)
      std::copy_n(bm.buffer + long(r) * bm.pitch, p.w, p.bits.begin() + long(r) * p.w);
    if (p.w > 0 && p.h > 0) {
      minX = std::min(minX, p.x);
      maxX = std::max(maxX, p.x + p.w);
      maxY = std::max(maxY, p.top);
      minY = std::min(minY, p.top - p.h);
    }
    placed.push_back(std::move(p));
    pen += g->advance.x;
    previous = index;
  }
  if (minX > maxX) {
    error = "the text has no ink";
    return false;
  }
  out.width = maxX - minX;
  out.height = maxY - minY;
  out.originX = -minX;
  out.baselineY = maxY;
  out.cover.assign(size_t(out.width) * out.height, 0.0f);
  for (const Placed& p : placed) {
    for (int r = 0; r < p.h; ++r) {
      for (int c = 0; c < p.w; ++c) {
        int x = p.x - minX + c, y = maxY - p.top + r;
        float& dst = out.cover[size_t(y) * out.width + x];
        dst = std::min(1.0f, dst + p.bits[size_t(r) * p.w + c] / 255.0f);
      }
    }
  }
  return true;
}
