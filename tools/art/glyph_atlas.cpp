// The clock's glyph atlas: 4 x 4 equal cells, row by row from the top, white on black.
// Cell i holds the character with code 48 + i: the digits, ':' and the AM and PM marks
// (';' and '<' in the overlay's text).
#include <algorithm>
#include <cmath>

#include "tools/art/font_face.h"
#include "tools/art/texture_art.h"

namespace {

// 256-pixel cells: a glyph cell is 60 of the overlay's 600 units, about 216 pixels on a
// 2160-line monitor, so even there the clock is drawn from a cell no smaller than it.
constexpr int kAtlasSize = 1024;
constexpr int kCell = kAtlasSize / 4;
// The frame rate hangs 40 units below the overlay's top edge, so the upper 20 of its cells'
// 60 units are cut off: all ink lies in the lower two thirds of a cell, below this row.
constexpr int kInkTop = kCell / 3 + kCell / 32;
// A margin keeps neighbours apart in the smaller mipmap levels.
constexpr int kMargin = kCell / 16;
constexpr int kInkBottom = kCell - kMargin;  // first row below the ink
// The overlay advances 42 of every 60 units: the digits' ink stays narrower than that.
constexpr int kMaxDigitSpan = kCell * 42 / 60 - kMargin;
constexpr int kMarkMaxWidth = kCell * 3 / 4;  // the AM/PM mark is the last glyph on a line

void stamp(ArtImage& img, const TextMask& mask, int cellIndex, int left, int top) {
  int cx = (cellIndex % 4) * kCell, cy = (cellIndex / 4) * kCell;
  for (int y = 0; y < mask.height; ++y) {
    for (int x = 0; x < mask.width; ++x) {
      int px = left + x, py = top + y;
      if (px < 0 || py < 0 || px >= kCell || py >= kCell) continue;  // never into a neighbour
      float a = mask.at(x, y);
      if (a > 0) img.add(cx + px, cy + py, ArtColour{a, a, a});
    }
  }
}

}  // namespace

bool paintGlyphAtlas(ArtImage& out, std::string& error) {
  out = ArtImage(kAtlasSize, kAtlasSize);
  FontFace font;
  if (!font.open(std::string(kDejaVuFolder) + "DejaVuSans-Bold.ttf", error)) return false;

  // Digits: as large as the lower two thirds allow, each centred on its ink in width, all on
  // one baseline. The size is found from the ink itself, so a font with other proportions
  // still fits.
  TextMask digits[10];
  int digitEm = 8;
  const int room = kInkBottom - kInkTop;
  for (int em = 2 * room;;) {
    int above = 0, below = 0, span = 0;
    for (int i = 0; i < 10; ++i) {
      if (!font.render(std::string(1, char('0' + i)), em, em, digits[i], error)) return false;
      above = std::max(above, digits[i].baselineY);
      below = std::max(below, digits[i].height - digits[i].baselineY);
      span = std::max(span, digits[i].width);
    }
    if ((above + below <= room && span <= kMaxDigitSpan) || em <= 8) {
      digitEm = em;
      break;
    }
    // In proportion first, then pixel by pixel, since the rasterised ink does not scale
    // exactly.
    const int scaled = std::min(em * room / (above + below), em * kMaxDigitSpan / span);
    em = std::max(8, scaled < em ? scaled : em - 1);
  }
  int below = 0;
  for (const TextMask& d : digits) below = std::max(below, d.height - d.baselineY);
  const int baseline = kInkBottom - below;
  int digitTop = kCell, digitBottom = 0;
  for (int i = 0; i < 10; ++i) {
    int top = baseline - digits[i].baselineY;
    stamp(out, digits[i], i, (kCell - digits[i].width) / 2, top);
    digitTop = std::min(digitTop, top);
    digitBottom = std::max(digitBottom, top + digits[i].height);
  }

  // Colon: centred on the digits' height rather than sitting on the baseline.
  TextMask colon;
  if (!font.render(":", digitEm, digitEm, colon, error)) return false;
  stamp(out, colon, 10, (kCell - colon.width) / 2, (digitTop + digitBottom) / 2 - colon.height / 2);

  // AM and PM: smaller capitals on the digits' baseline, one size for both, shrunk so
  // the wider of the two fits its cell.
  const char* marks[2] = {"AM", "PM"};
  TextMask m[2];
  int markEm = digitEm * 55 / 100;
  for (int pass = 0; pass < 2; ++pass) {
    int widest = 0;
    for (int k = 0; k < 2; ++k) {
      if (!font.render(marks[k], markEm, markEm, m[k], error)) return false;
      widest = std::max(widest, m[k].width);
    }
    if (widest <= kMarkMaxWidth) break;
    markEm = std::max(8, markEm * kMarkMaxWidth / widest);
  }
  for (int k = 0; k < 2; ++k)
    stamp(out, m[k], 11 + k, (kCell - m[k].width) / 2, baseline - m[k].baselineY);
  return true;
}
