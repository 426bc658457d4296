// TGA decoding: every image type and depth, run-length rules, and hostile headers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <vector>

#include "assets/asset_buffer.h"
#include "assets/tga_image.h"
#include "tests/support/message_capture.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

struct TgaHeader {
  std::uint8_t idLength = 0;
  std::uint8_t colorMapType = 0;
  std::uint8_t imageType = 2;
  std::uint16_t colorMapLength = 0;
  std::uint8_t colorMapEntrySize = 0;
  std::uint16_t width = 1;
  std::uint16_t height = 1;
  std::uint8_t pixelDepth = 32;
};

Bytes tga(const TgaHeader& h, const Bytes& afterHeader) {
  auto lo = [](int v) { return static_cast<std::uint8_t>(v); };
  auto hi = [](int v) { return static_cast<std::uint8_t>(v >> 8); };
  const std::uint8_t header[18] = {h.idLength,
                                   h.colorMapType,
                                   h.imageType,
                                   0,
                                   0,
                                   lo(h.colorMapLength),
                                   hi(h.colorMapLength),
                                   h.colorMapEntrySize,
                                   0,
                                   0,
                                   0,
                                   0,
                                   lo(h.width),
                                   hi(h.width),
                                   lo(h.height),
                                   hi(h.height),
                                   h.pixelDepth,
                                   0x08};
  Bytes out(sizeof header + afterHeader.size());
  std::copy(std::begin(header), std::end(header), out.begin());
  std::copy(afterHeader.begin(), afterHeader.end(), out.begin() + sizeof header);
  return out;
}

TgaStatus decode(const Bytes& file, TgaImage& image) {
  return decodeTga(file.data(), file.size(), image);
}

TEST(TgaImage, ThirtyTwoBitPixelsComeOutRedGreenBlueAlphaRawOrRunLength) {
  const Bytes stored = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};  // B G R A each
  const Bytes expected = {3, 2, 1, 4, 7, 6, 5, 8, 11, 10, 9, 12, 15, 14, 13, 16};
  TgaImage raw;
  ASSERT_EQ(decode(tga({.width = 2, .height = 2}, stored), raw), TgaStatus::Ok);
  EXPECT_EQ(raw.pixels, expected);
  EXPECT_EQ(raw.pixelDepth, 32);
  EXPECT_EQ(raw.width, 2);
  EXPECT_EQ(raw.height, 2);

  // A raw packet of three pixels, then a run packet repeating the last one once.
  const Bytes packets = {0x02, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 0x80, 13, 14, 15, 16};
  TgaImage coded;
  ASSERT_EQ(decode(tga({.imageType = 10, .width = 2, .height = 2}, packets), coded), TgaStatus::Ok);
  EXPECT_EQ(coded.pixels, expected);
}

TEST(TgaImage, SixteenBitPixelsExpandToBlueGreenRed) {
  TgaImage image;
  ASSERT_EQ(
      decode(tga({.width = 3, .height = 1, .pixelDepth = 16}, {0xFF, 0x7F, 0x1F, 0x00, 0xE0, 0x83}),
             image),
      TgaStatus::Ok);
  // 0x83E0: bit 15 dropped, green all ones, red 0 -> blue 0, green 0xF8, red 0.
  EXPECT_EQ(image.pixels, (Bytes{0xF8, 0xF8, 0xF8, 0xF8, 0x00, 0x00, 0x00, 0xF8, 0x00}));
  EXPECT_EQ(image.pixelDepth, 24);

  TgaImage coded;
  ASSERT_EQ(
      decode(tga({.imageType = 10, .width = 3, .height = 1, .pixelDepth = 16}, {0x82, 0x1F, 0x00}),
             coded),
      TgaStatus::Ok);
  EXPECT_EQ(coded.pixels, (Bytes{0xF8, 0, 0, 0xF8, 0, 0, 0xF8, 0, 0}));
}

TEST(TgaImage, RunPacketsRepeatAcrossRowsAndStopAtTheEndOfThePicture) {
  TgaImage image;
  ASSERT_EQ(
      decode(tga({.imageType = 10, .width = 2, .height = 2, .pixelDepth = 24}, {0x83, 10, 20, 30}),
             image),
      TgaStatus::Ok);
  EXPECT_EQ(image.pixels, (Bytes{10, 20, 30, 10, 20, 30, 10, 20, 30, 10, 20, 30}));

  // A packet longer than what is left writes only up to the last pixel.
  ASSERT_EQ(
      decode(tga({.imageType = 11, .width = 3, .height = 1, .pixelDepth = 8}, {0x00, 7, 0xFF, 9}),
             image),
      TgaStatus::Ok);
  EXPECT_EQ(image.pixels, (Bytes{7, 9, 9}));
  ASSERT_EQ(decode(tga({.imageType = 11, .width = 2, .height = 1, .pixelDepth = 8},
                       {0x05, 1, 2, 3, 4, 5, 6}),
                   image),
            TgaStatus::Ok);
  EXPECT_EQ(image.pixels, (Bytes{1, 2}));
}

TEST(TgaImage, ColourMappedPicturesExpandThroughTheirPalette) {
  const Bytes palette = {1, 2, 3, 4, 5, 6, 7, 8, 9};  // three entries, blue green red
  Bytes raw = palette;
  raw.insert(raw.end(), {2, 0, 1, 2});
  const TgaHeader header{.colorMapType = 1,
                         .imageType = 1,
                         .colorMapLength = 3,
                         .colorMapEntrySize = 24,
                         .width = 2,
                         .height = 2,
                         .pixelDepth = 8};
  const Bytes expected = {7, 8, 9, 1, 2, 3, 4, 5, 6, 7, 8, 9};
  TgaImage image;
  ASSERT_EQ(decode(tga(header, raw), image), TgaStatus::Ok);
  EXPECT_EQ(image.pixels, expected);
  EXPECT_EQ(image.pixelDepth, 24);
  EXPECT_TRUE(image.palette.empty());

  Bytes coded = palette;
  coded.insert(coded.end(), {0x01, 2, 0, 0x80, 1, 0x00, 2});
  TgaHeader codedHeader = header;
  codedHeader.imageType = 9;
  ASSERT_EQ(decode(tga(codedHeader, coded), image), TgaStatus::Ok);
  EXPECT_EQ(image.pixels, expected);
}

TEST(TgaImage, ColourMapsThatCannotServeAreRefused) {
  TgaImage image;
  // A 16-bit colour map.
  EXPECT_EQ(decode(tga({.colorMapType = 1,
                        .imageType = 1,
                        .colorMapLength = 2,
                        .colorMapEntrySize = 16,
                        .pixelDepth = 8},
                       {0, 0, 0, 0, 0}),
                   image),
            TgaStatus::Malformed);
  // No colour map at all.
  EXPECT_EQ(decode(tga({.imageType = 1, .pixelDepth = 8}, {0}), image), TgaStatus::Malformed);
  // An index past the end of the palette would read outside it.
  EXPECT_EQ(decode(tga({.colorMapType = 1,
                        .imageType = 1,
                        .colorMapLength = 2,
                        .colorMapEntrySize = 24,
                        .pixelDepth = 8},
                       {1, 2, 3, 4, 5, 6, 2}),
                   image),
            TgaStatus::Malformed);
  EXPECT_TRUE(image.pixels.empty());
}

TEST(TgaImage, AColourMapBeforeTrueColourOrGreyPixelsIsSkipped) {
  TgaImage image;
  // Two 15-bit entries take two bytes each.
  ASSERT_EQ(decode(tga({.colorMapType = 1,
                        .imageType = 2,
                        .colorMapLength = 2,
                        .colorMapEntrySize = 15,
                        .pixelDepth = 24},
                       {0xAA, 0xAA, 0xAA, 0xAA, 1, 2, 3}),
                   image),
            TgaStatus::Ok);
  EXPECT_EQ(image.pixels, (Bytes{1, 2, 3}));
  // A greyscale picture declaring a 24-bit map stays greyscale.
  ASSERT_EQ(decode(tga({.colorMapType = 1,
                        .imageType = 3,
                        .colorMapLength = 1,
                        .colorMapEntrySize = 24,
                        .width = 2,
                        .pixelDepth = 8},
                       {9, 9, 9, 40, 50}),
                   image),
            TgaStatus::Ok);
  EXPECT_EQ(image.pixels, (Bytes{40, 50}));
  EXPECT_EQ(image.pixelDepth, 8);
}

TEST(TgaImage, TheImageIdIsSkipped) {
  TgaImage image;
  ASSERT_EQ(decode(tga({.idLength = 3, .imageType = 3, .width = 2, .pixelDepth = 8},
                       {'a', 'b', 'c', 5, 6}),
                   image),
            TgaStatus::Ok);
  EXPECT_EQ(image.pixels, (Bytes{5, 6}));
}

TEST(TgaImage, TypesAndDepthsThatFillNoPixelsFail) {
  TgaImage image;
  for (int type : {0, 4, 5, 6, 7, 8, 12, 32, 255}) {
    EXPECT_EQ(decode(tga({.imageType = static_cast<std::uint8_t>(type)}, Bytes(64, 1)), image),
              TgaStatus::Malformed)
        << "type " << type;
  }
  EXPECT_EQ(decode(tga({.imageType = 2, .pixelDepth = 8}, Bytes(64, 1)), image),
            TgaStatus::Malformed);
  EXPECT_EQ(decode(tga({.imageType = 3, .pixelDepth = 24}, Bytes(64, 1)), image),
            TgaStatus::Malformed);
  EXPECT_EQ(decode(tga({.width = 0}, Bytes(64, 1)), image), TgaStatus::Malformed);
  for (int depth : {0, 1, 4, 15, 31, 64}) {
    EXPECT_EQ(decode(tga({.pixelDepth = static_cast<std::uint8_t>(depth)}, Bytes(64, 1)), image),
              TgaStatus::UnsupportedDepth)
        << "depth " << depth;
  }
}

TEST(TgaImage, TruncatedFilesFailInsteadOfLeavingBytesUnset) {
  const Bytes raw = tga({.width = 2, .height = 2, .pixelDepth = 24}, Bytes(12, 0x55));
  const Bytes coded = tga({.imageType = 10, .width = 4, .height = 1, .pixelDepth = 24},
                          {0x81, 1, 2, 3, 0x01, 4, 5, 6, 7, 8, 9});
  TgaImage image;
  ASSERT_EQ(decode(raw, image), TgaStatus::Ok);
  ASSERT_EQ(decode(coded, image), TgaStatus::Ok);
  for (const Bytes* file : {&raw, &coded}) {
    for (std::size_t n = 0; n < file->size(); ++n) {
      const Bytes cut(file->begin(), file->begin() + n);
      EXPECT_EQ(decode(cut, image), TgaStatus::Malformed) << n;
      EXPECT_TRUE(image.pixels.empty());
    }
  }
  EXPECT_EQ(decodeTga(nullptr, 100, image), TgaStatus::Malformed);
}

TEST(TgaImage, HugeDeclaredSizesAreRefusedBeforeTheData) {
  TgaImage image;
  EXPECT_EQ(decode(tga({.width = 8192, .height = 8192}, Bytes(100, 0)), image),
            TgaStatus::Malformed);
  EXPECT_EQ(decode(tga({.imageType = 10, .width = 8192, .height = 8192}, Bytes(100, 0xFF)), image),
            TgaStatus::Malformed);
  EXPECT_EQ(decode(tga({.imageType = 3, .width = 65535, .height = 65535, .pixelDepth = 8},
                       Bytes(std::size_t{65535} * 2, 0)),
                   image),
            TgaStatus::Malformed);
  // The largest accepted side still decodes.
  TgaHeader wide{.imageType = 11,
                 .width = static_cast<std::uint16_t>(maxTgaSide),
                 .height = 1,
                 .pixelDepth = 8};
  Bytes packets;
  for (std::uint32_t i = 0; i < maxTgaSide / 128; ++i) packets.insert(packets.end(), {0xFF, 3});
  ASSERT_EQ(decode(tga(wide, packets), image), TgaStatus::Ok);
  EXPECT_EQ(image.pixels, Bytes(maxTgaSide, 3));
}

TEST(TgaImage, AnUnsupportedDepthIsReportedAndOtherFailuresAreSilent) {
  MessageCapture messages;
  const Bytes badDepth = tga({.pixelDepth = 12}, {0, 0});
  AssetBuffer entry;
  ASSERT_TRUE(entry.openFromMemory(badDepth.data(), static_cast<std::uint32_t>(badDepth.size())));
  messages.take();
  EXPECT_FALSE(loadTgaEntry(entry));
  EXPECT_EQ(messages.take(), "TGA: Unsupported image depth.\n");
  EXPECT_EQ(entry.data, nullptr);

  const Bytes badType = tga({.imageType = 4}, {0, 0, 0, 0});
  ASSERT_TRUE(entry.openFromMemory(badType.data(), static_cast<std::uint32_t>(badType.size())));
  messages.take();
  EXPECT_FALSE(loadTgaEntry(entry));
  EXPECT_EQ(messages.take(), "");

  const Bytes good = tga({.pixelDepth = 24}, {1, 2, 3});
  ASSERT_TRUE(entry.openFromMemory(good.data(), static_cast<std::uint32_t>(good.size())));
  ASSERT_TRUE(loadTgaEntry(entry));
  EXPECT_EQ(tgaImage.pixels, (Bytes{1, 2, 3}));
}

}  // namespace
