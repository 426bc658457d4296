// The clock's glyph atlas: 4 x 4 equal cells, row by row from the top, white on black.
// Cell i holds the character with code 48 + i: the digits, ':' and the AM and PM marks
// (';' and '<' in the overlay's text).
#include <algorithm>
#include <cmath>

#include "tools/art/font_face.h"
#include "tools/art/texture_art.h"

namespace {

constexpr int kAtlasSize = 512;
constexpr int kCell = kAtlasSize / 4;
// The overlay advances 42 of every 60 units, so each glyph keeps its ink near the middle
// of its cell; a margin also keeps neighbours apart in the smaller mipmap levels.
constexpr int kDigitEm = 104;                 // pixels per em: digits about 76 pixels tall
constexpr int kBaseline = kCell - 26;         // from the top of the cell
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

  // Digits: each centred on its ink, all on one baseline.
  int digitTop = kCell, digitBottom = 0;
  for (int i = 0; i < 10; ++i) {
    TextMask m;
    if (!font.render(std::string(1, char('0' + i)), kDigitEm, kDigitEm, m, error)) return false;
    int top = kBaseline - m.baselineY;
    stamp(out, m, i, (kCell - m.width) / 2, top);
    digitTop = std::min(digitTop, top);
    digitBottom = std::max(digitBottom, top + m.height);
  }

  // Colon: centred on the digits' height rather than sitting on the baseline.
  TextMask colon;
  if (!font.render(":", kDigitEm, kDigitEm, colon, error)) return false;
  stamp(out, colon, 10, (kCell - colon.width) / 2, (digitTop + digitBottom) / 2 - colon.height / 2);

  // AM and PM: smaller capitals on the digits' baseline, one size for both, shrunk so
  // the wider of the two fits its cell.
  const char* marks[2] = {"AM", "PM"};
  TextMask m[2];
  int em = kDigitEm * 55 / 100;
  for (int pass = 0; pass < 2; ++pass) {
    int widest = 0;
    for (int k = 0; k < 2; ++k) {
      if (!font.render(marks[k], em, em, m[k], error)) return false;
      widest = std::max(widest, m[k].width);
    }
    if (widest <= kMarkMaxWidth) break;
    em = std::max(8, em * kMarkMaxWidth / widest);
  }
  for (int k = 0; k < 2; ++k)
    stamp(out, m[k], 11 + k, (kCell - m[k].width) / 2, kBaseline - m[k].baselineY);
  return true;
}
