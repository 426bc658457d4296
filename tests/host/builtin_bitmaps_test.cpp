// The built-in pictures as the build made them: their sizes, and that they hold a picture.
#include "host/builtin_bitmaps.h"

#include <gtest/gtest.h>

#include <set>

namespace {

// Distinct colours, and the brightest channel anywhere.
void expectAPicture(const BuiltinBitmap& b) {
  std::set<int> colours;
  int brightest = 0;
  for (int i = 0; i < b.width * b.height; ++i) {
    const unsigned char* p = b.rgb + i * 3;
    colours.insert(p[0] << 16 | p[1] << 8 | p[2]);
    brightest = std::max({brightest, int(p[0]), int(p[1]), int(p[2])});
  }
  EXPECT_GE(brightest, 160) << "nearly black";
  EXPECT_GE(colours.size(), std::size_t(b.width * b.height / 8)) << "too few colours";
}

TEST(BuiltinBitmaps, SizesAndContent) {
  const struct {
    int id, width, height;
  } cases[] = {{dialogBitmapId, 263, 180}, {previewBitmapId, 155, 115}, {programIconId, 128, 128}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.id);
    const BuiltinBitmap* b = builtinBitmap(c.id);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->width, c.width);
    EXPECT_EQ(b->height, c.height);
    expectAPicture(*b);
  }
  EXPECT_EQ(builtinBitmap(0), nullptr);
  EXPECT_EQ(builtinBitmap(110), nullptr);

  // Square icons, growing, the largest being icon 111 itself.
  const auto icons = builtinIcons();
  ASSERT_GE(icons.size(), 3u);
  for (std::size_t i = 0; i < icons.size(); ++i) {
    SCOPED_TRACE(icons[i].width);
    EXPECT_EQ(icons[i].width, icons[i].height);
    if (i > 0) EXPECT_GT(icons[i].width, icons[i - 1].width);
    if (icons[i].width >= 32) expectAPicture(icons[i]);
  }
  EXPECT_EQ(icons.back().rgb, builtinBitmap(programIconId)->rgb);
}

}  // namespace
