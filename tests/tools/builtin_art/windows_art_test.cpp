#include "tools/builtin_art/windows_art.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstdint>

namespace {

std::uint32_t u32(const std::vector<unsigned char>& b, std::size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | std::uint32_t(b[at + 3]) << 24;
}

// Every pixel distinct: red counts pixels, green is the row, blue the column.
EmbeddedPicture numbered(int width, int height) {
  EmbeddedPicture p{111, width, height, {}};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      p.rgb.insert(p.rgb.end(), {static_cast<unsigned char>(y * width + x),
                                 static_cast<unsigned char>(y), static_cast<unsigned char>(x)});
  return p;
}

TEST(WindowsArt, BitmapRowsRunBottomUpInBgrPaddedToFourBytes) {
  const EmbeddedPicture p = numbered(3, 2);  // 9 bytes a row, padded to 12
  const std::vector<unsigned char> bmp = bmpFile(p);
  ASSERT_EQ(bmp.size(), 54u + 24u);
  EXPECT_EQ(u32(bmp, 2), bmp.size());
  EXPECT_EQ(u32(bmp, 10), 54u);
  EXPECT_EQ(u32(bmp, 18), 3u);
  EXPECT_EQ(u32(bmp, 22), 2u);  // positive: bottom-up
  EXPECT_EQ(bmp[28], 24);
  const std::vector<unsigned char> rows = {0, 1, 3, 1, 1, 4, 2, 1, 5, 0, 0, 0,   // bottom row
                                           0, 0, 0, 1, 0, 1, 2, 0, 2, 0, 0, 0};  // top row
  EXPECT_EQ(std::vector<unsigned char>(bmp.begin() + 54, bmp.end()), rows);
}

TEST(WindowsArt, IconHasBitmapEntriesWithMaskAndAPngEntryFor256) {
  const std::vector<unsigned char> ico = icoFile({numbered(16, 16), numbered(256, 256)});
  ASSERT_GT(ico.size(), 6u + 32u);
  EXPECT_EQ(ico[2] | ico[3] << 8, 1);
  EXPECT_EQ(ico[4] | ico[5] << 8, 2);
  // The 16-pixel entry: header height counts the AND mask, 16 rows of BGRA then 16 of mask.
  EXPECT_EQ(ico[6], 16);
  const std::uint32_t size16 = u32(ico, 6 + 8), at16 = u32(ico, 6 + 12);
  EXPECT_EQ(at16, 6u + 32u);
  EXPECT_EQ(size16, 40u + 16u * 16u * 4u + 16u * 4u);
  EXPECT_EQ(u32(ico, at16 + 8), 32u);
  const std::size_t lastRowFirstPixel = at16 + 40;  // the picture's bottom row, stored first
  EXPECT_EQ(ico[lastRowFirstPixel + 1], 15);        // green: row 15
  EXPECT_EQ(ico[lastRowFirstPixel + 3], 0xFF);      // opaque
  // The 256-pixel entry: 0 stands for 256, and the bytes are a PNG of the same pixels.
  EXPECT_EQ(ico[6 + 16], 0);
  const std::uint32_t sizePng = u32(ico, 22 + 8), atPng = u32(ico, 22 + 12);
  EXPECT_EQ(atPng, at16 + size16);
  ASSERT_EQ(atPng + sizePng, ico.size());
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  ASSERT_TRUE(png_image_begin_read_from_memory(&image, ico.data() + atPng, sizePng));
  image.format = PNG_FORMAT_RGB;
  std::vector<unsigned char> rgb(PNG_IMAGE_SIZE(image));
  ASSERT_TRUE(png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr));
  EXPECT_EQ(rgb, numbered(256, 256).rgb);
}

TEST(WindowsArt, RefusesPicturesItCannotStore) {
  EmbeddedPicture shortBytes = numbered(4, 4);
  shortBytes.rgb.pop_back();
  EXPECT_TRUE(bmpFile(shortBytes).empty());
  EXPECT_TRUE(bmpFile(EmbeddedPicture{107, 0, 0, {}}).empty());
  EXPECT_TRUE(icoFile({}).empty());
  EXPECT_TRUE(icoFile({numbered(16, 16), shortBytes}).empty());
  EXPECT_TRUE(icoFile({numbered(257, 1)}).empty());
}

}  // namespace
