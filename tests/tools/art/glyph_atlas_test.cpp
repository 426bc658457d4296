#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "tests/tools/art/jpeg_probe.h"
#include "tools/art/font_face.h"
#include "tools/art/texture_set.h"

namespace {

// The overlay cuts the atlas into 4 x 4 cells, row by row from the top; cell i shows the
// character 48 + i. It draws each 60 units wide and advances 42.
struct Cell {
  int ink = 0;  // pixels brighter than half
  int left = 1 << 30, right = -1, top = 1 << 30, bottom = -1;
  float maxLuma = 0;
};

class GlyphAtlas : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    std::string error;
    std::vector<unsigned char> bytes = makeTextureFile("c.jpg", error);
    ASSERT_FALSE(bytes.empty()) << error;
    ASSERT_TRUE(probeJpeg(bytes, atlas));
    cellSize = atlas.width / 4;
    for (int i = 0; i < 16; ++i) {
      Cell& c = cells[i];
      for (int y = 0; y < cellSize; ++y)
        for (int x = 0; x < cellSize; ++x) {
          float l = lumaIn(i, x, y);
          c.maxLuma = std::max(c.maxLuma, l);
          if (l <= 0.5f) continue;
          ++c.ink;
          c.left = std::min(c.left, x), c.right = std::max(c.right, x);
          c.top = std::min(c.top, y), c.bottom = std::max(c.bottom, y);
        }
    }
  }
  static float lumaIn(int cell, int x, int y) {
    return atlas.luma((cell % 4) * cellSize + x, (cell / 4) * cellSize + y);
  }
  static ProbedImage atlas;
  static int cellSize;
  static Cell cells[16];
};
ProbedImage GlyphAtlas::atlas;
int GlyphAtlas::cellSize = 0;
Cell GlyphAtlas::cells[16];

}  // namespace

TEST_F(GlyphAtlas, ThirteenCellsHoldGlyphsAndTheRestAreBlack) {
  ASSERT_EQ(atlas.width, atlas.height);
  ASSERT_EQ(atlas.width % 4, 0);
  // A glyph cell is about 216 pixels tall on a 2160-line monitor: never magnified there.
  EXPECT_GE(cellSize, 216);
  for (int i = 0; i < 13; ++i) EXPECT_GT(cells[i].ink, cellSize * cellSize / 100) << "cell " << i;
  for (int i = 13; i < 16; ++i) EXPECT_LT(cells[i].maxLuma, 0.1f) << "cell " << i;
}

TEST_F(GlyphAtlas, EveryDigitLooksDifferent) {
  for (int a = 0; a < 10; ++a)
    for (int b = a + 1; b < 10; ++b) {
      int differing = 0;
      for (int y = 0; y < cellSize; ++y)
        for (int x = 0; x < cellSize; ++x)
          differing += std::fabs(lumaIn(a, x, y) - lumaIn(b, x, y)) > 0.5f;
      EXPECT_GT(differing, cellSize * cellSize / 50) << a << " vs " << b;
    }
}

TEST_F(GlyphAtlas, CellsAreInTheOverlaysOrder) {
  // "0" has a hole in its middle, "8" a crossing there and more ink than "1" or "7"; the
  // colon is the lightest glyph of all. Cells swapped, transposed or flipped fail this.
  auto centre = [&](int cell) {
    float sum = 0;
    for (int dy = -2; dy <= 2; ++dy)
      for (int dx = -2; dx <= 2; ++dx)
        sum += lumaIn(cell, cellSize / 2 + dx, cells[cell].top / 2 + cells[cell].bottom / 2 + dy);
    return sum / 25;
  };
  EXPECT_LT(centre(0), 0.2f);
  EXPECT_GT(centre(8), 0.6f);
  EXPECT_GT(cells[8].ink, cells[1].ink);
  EXPECT_GT(cells[8].ink, cells[7].ink);
  for (int d = 0; d < 10; ++d) EXPECT_LT(cells[10].ink, cells[d].ink) << d;
  // The colon is two dots, one above the other: some row between them is empty.
  bool gap = false;
  for (int y = cells[10].top; y <= cells[10].bottom && !gap; ++y) {
    float rowMax = 0;
    for (int x = 0; x < cellSize; ++x) rowMax = std::max(rowMax, lumaIn(10, x, y));
    gap = rowMax < 0.2f;
  }
  EXPECT_TRUE(gap);
}

TEST_F(GlyphAtlas, GlyphsFitTheOverlaysSpacingAndShareOneBaseline) {
  // Digits advance 42 of 60 units: the widest ink span over all digits must stay below
  // the advance, or neighbouring digits would run into each other.
  int minLeft = cellSize, maxRight = 0;
  for (int d = 0; d <= 10; ++d) {
    minLeft = std::min(minLeft, cells[d].left);
    maxRight = std::max(maxRight, cells[d].right);
  }
  EXPECT_LT(maxRight - minLeft + 1, cellSize * 42 / 60);
  // Margins keep each glyph inside its own cell in the smaller mipmap levels too.
  const int margin = cellSize / 16;
  for (int i = 0; i < 13; ++i) {
    SCOPED_TRACE(i);
    EXPECT_GE(cells[i].left, margin);
    EXPECT_LE(cells[i].right, cellSize - 1 - margin);
    EXPECT_LE(cells[i].bottom, cellSize - 1 - margin);
  }
  // Digits and the AM/PM marks stand on one baseline; the marks are smaller.
  for (int i : {2, 4, 7, 11, 12}) EXPECT_NEAR(cells[i].bottom, cells[1].bottom, 2) << i;
  for (int i : {11, 12})
    EXPECT_LT(cells[i].bottom - cells[i].top, (cells[1].bottom - cells[1].top) * 3 / 4) << i;
}

TEST_F(GlyphAtlas, NoInkInTheTopThirdOfAnyCell) {
  // The frame rate is drawn 40 units below the overlay's top, so the top 20 of each cell's
  // 60 units are cut off: nothing of a glyph may lie there, not even its faint edge.
  for (int i = 0; i < 16; ++i) {
    float brightest = 0;
    for (int y = 0; y <= cellSize / 3; ++y)
      for (int x = 0; x < cellSize; ++x) brightest = std::max(brightest, lumaIn(i, x, y));
    EXPECT_LT(brightest, 0.08f) << "cell " << i;
  }
  // And the digits still fill most of what is left.
  EXPECT_GT(cells[8].bottom - cells[8].top, cellSize / 2);
}

TEST(FontFace, AMissingFontFileIsReportedWithTheRemedy) {
  FontFace font;
  std::string error;
  EXPECT_FALSE(font.open("/nonexistent/DejaVuSans-Bold.ttf", error));
  EXPECT_NE(error.find("/nonexistent/DejaVuSans-Bold.ttf"), std::string::npos) << error;
  EXPECT_NE(error.find("fonts-dejavu-core"), std::string::npos) << error;
  TextMask mask;
  error.clear();
  EXPECT_FALSE(font.render("0", 40, 40, mask, error));  // nothing open, nothing drawn
  EXPECT_FALSE(error.empty());
}
