// JPEG decoding from memory: row order, components, markers, and damaged or hostile files.
#include <gtest/gtest.h>

#include <jpeglib.h>

#include <cstdint>
#include <vector>

#include "assets/asset_buffer.h"
#include "assets/jpeg_image.h"
#include "tests/assets/jpeg_writer.h"
#include "tests/support/message_capture.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// 3 x 2: a white top row over a black bottom row, with a little colour to tell columns apart.
const Bytes threeByTwo = {250, 250, 250, 240, 240, 250, 250, 240, 240,  // top
                          0,   0,   0,   10,  0,   0,   0,   0,   10};  // bottom

TEST(JpegImage, RowsAreStoredBottomUpWithStrideWidthTimesComponents) {
  const Bytes file = encodeJpeg(threeByTwo, 3, 2, 3);
  DecodedImage image;
  ASSERT_TRUE(decodeJpeg(file.data(), file.size(), image));
  EXPECT_EQ(image.width, 3);
  EXPECT_EQ(image.height, 2);
  EXPECT_EQ(image.components, 3);
  EXPECT_EQ(image.rowStride, 9);
  ASSERT_EQ(image.pixels.size(), 18u);
  for (int i = 0; i < 9; ++i) {
    EXPECT_LT(image.pixels[i], 40) << "first row must be the dark bottom row, byte " << i;
    EXPECT_GT(image.pixels[9 + i], 210) << "second row must be the bright top row, byte " << i;
  }
}

TEST(JpegImage, GreyscaleGivesOneComponentAndCmykFour) {
  const Bytes grey = {0, 128, 255, 255, 128, 0};
  const Bytes file = encodeJpeg(grey, 3, 2, 1);
  DecodedImage image;
  ASSERT_TRUE(decodeJpeg(file.data(), file.size(), image));
  EXPECT_EQ(image.components, 1);
  EXPECT_EQ(image.rowStride, 3);
  ASSERT_EQ(image.pixels.size(), 6u);
  EXPECT_NEAR(image.pixels[0], 255, 12);  // bottom row first
  EXPECT_NEAR(image.pixels[3], 0, 12);

  const Bytes cmyk(4 * 5 * 3, 100);
  const Bytes cmykFile = encodeJpeg(cmyk, 5, 3, 4);
  ASSERT_TRUE(decodeJpeg(cmykFile.data(), cmykFile.size(), image));
  EXPECT_EQ(image.components, 4);
  EXPECT_EQ(image.rowStride, 20);
  EXPECT_EQ(image.pixels.size(), 60u);
}

TEST(JpegImage, CommentsAndUnknownApplicationMarkersDecodeTheSame) {
  const Bytes plain = encodeJpeg(threeByTwo, 3, 2, 3);
  const Bytes marked = encodeJpeg(
      threeByTwo, 3, 2, 3, {{JPEG_COM, "made for a test"}, {JPEG_APP0 + 9, std::string(300, 'x')}});
  ASSERT_NE(plain, marked);
  DecodedImage a, b;
  ASSERT_TRUE(decodeJpeg(plain.data(), plain.size(), a));
  ASSERT_TRUE(decodeJpeg(marked.data(), marked.size(), b));
  EXPECT_EQ(a.pixels, b.pixels);
  EXPECT_EQ(a.rowStride, b.rowStride);
}

Bytes gradient(int width, int height) {
  Bytes pixels(std::size_t(width) * height * 3);
  for (std::size_t i = 0; i < pixels.size(); ++i)
    pixels[i] = static_cast<std::uint8_t>(i * 7 % 251);
  return pixels;
}

TEST(JpegImage, TruncatedFilesFailOrDecodePartially) {
  for (bool progressive : {false, true}) {
    const Bytes file = encodeJpeg(gradient(24, 16), 24, 16, 3, {}, progressive);
    for (std::size_t n = 0; n < file.size(); ++n) {
      // A copy of exactly n bytes, so that any read past it is caught by the address sanitizer.
      std::vector<std::uint8_t> cut(file.begin(), file.begin() + n);
      DecodedImage image;
      if (decodeJpeg(cut.data(), cut.size(), image)) {
        EXPECT_EQ(image.width, 24);
        EXPECT_EQ(image.height, 16);
        EXPECT_EQ(image.pixels.size(), 24u * 16u * 3u);
      } else {
        EXPECT_TRUE(image.pixels.empty());
      }
    }
  }
  DecodedImage image;
  EXPECT_FALSE(decodeJpeg(nullptr, 0, image));
  const Bytes notJpeg = {'G', 'I', 'F', '8', '9', 'a'};
  EXPECT_FALSE(decodeJpeg(notJpeg.data(), notJpeg.size(), image));
}

TEST(JpegImage, DamagedRestartMarkersStillEndTheDecode) {
  const Bytes file = encodeJpeg(gradient(32, 32), 32, 32, 3, {}, false, 1);
  std::vector<std::size_t> restarts;
  for (std::size_t i = 0; i + 1 < file.size(); ++i) {
    if (file[i] == 0xFF && file[i + 1] >= 0xD0 && file[i + 1] <= 0xD7) restarts.push_back(i + 1);
  }
  ASSERT_GE(restarts.size(), 3u);
  // A marker with the wrong number, one that is no marker at all, and one cut out entirely.
  Bytes wrongNumber = file, notAMarker = file, missing = file;
  wrongNumber[restarts[0]] = 0xD5;
  notAMarker[restarts[1]] = 0x42;
  missing.erase(missing.begin() + static_cast<long>(restarts[2]) - 1,
                missing.begin() + static_cast<long>(restarts[2]) + 1);
  for (const Bytes* bad : {&wrongNumber, &notAMarker, &missing}) {
    DecodedImage image;
    if (decodeJpeg(bad->data(), bad->size(), image)) {
      EXPECT_EQ(image.pixels.size(), 32u * 32u * 3u);
    }
  }
}

// Rewrites the frame header's size fields.
Bytes withSize(Bytes file, int width, int height) {
  for (std::size_t i = 0; i + 8 < file.size(); ++i) {
    if (file[i] == 0xFF && (file[i + 1] == 0xC0 || file[i + 1] == 0xC2)) {
      file[i + 5] = static_cast<std::uint8_t>(height >> 8);
      file[i + 6] = static_cast<std::uint8_t>(height);
      file[i + 7] = static_cast<std::uint8_t>(width >> 8);
      file[i + 8] = static_cast<std::uint8_t>(width);
      return file;
    }
  }
  ADD_FAILURE() << "no frame header";
  return file;
}

TEST(JpegImage, HugeDeclaredSizesAreRefusedBeforeAllocating) {
  const Bytes file = encodeJpeg(gradient(8, 8), 8, 8, 3);
  DecodedImage image;
  EXPECT_FALSE(decodeJpeg(withSize(file, 65000, 65000).data(), file.size(), image));
  EXPECT_FALSE(decodeJpeg(withSize(file, maxJpegSide + 8, 8).data(), file.size(), image));
  EXPECT_FALSE(decodeJpeg(withSize(file, 8192, 4096).data(), file.size(), image));
  // A bigger size within the limits decodes from the short data, the rest filled in.
  const Bytes grown = withSize(file, 64, 32);
  ASSERT_TRUE(decodeJpeg(grown.data(), grown.size(), image));
  EXPECT_EQ(image.pixels.size(), 64u * 32u * 3u);
}

TEST(JpegImage, AFailedLoadNamesTheEntry) {
  MessageCapture messages;
  const Bytes junk = {0xFF, 0xD8, 0xFF, 0x00};
  AssetBuffer entry;
  ASSERT_TRUE(entry.openFromMemory(junk.data(), static_cast<std::uint32_t>(junk.size())));
  DecodedImage image;
  messages.take();
  EXPECT_FALSE(loadJpegEntry(entry, "textures\\bad.jpg", image));
  EXPECT_EQ(messages.take(), "Error: ARCH:Can't load JPG file: textures\\bad.jpg\n");
  EXPECT_EQ(entry.data, nullptr);

  const Bytes good = encodeJpeg(threeByTwo, 3, 2, 3);
  ASSERT_TRUE(entry.openFromMemory(good.data(), static_cast<std::uint32_t>(good.size())));
  messages.take();
  EXPECT_TRUE(loadJpegEntry(entry, "textures\\good.jpg", image));
  EXPECT_EQ(messages.take(), "");
  EXPECT_EQ(image.rowStride, 9);
}

}  // namespace
