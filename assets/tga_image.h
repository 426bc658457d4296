#pragma once
// Truevision TGA decoding: colour-mapped, true-colour and greyscale pictures, raw or
// run-length coded, into pixels in stored row order (bottom row first for the usual origin).
#include <cstddef>
#include <cstdint>
#include <vector>

struct TgaImage {
  std::uint8_t colorMapType = 0;
  std::uint8_t imageType = 0;
  std::uint16_t colorMapLength = 0;
  std::uint8_t colorMapEntrySize = 0;
  std::uint16_t width = 0;
  std::uint16_t height = 0;
  // After decoding: bits per pixel of `pixels` (8 grey, 24 blue-green-red, 32
  // red-green-blue-alpha).
  std::uint8_t pixelDepth = 0;
  std::vector<std::uint8_t> palette;
  std::vector<std::uint8_t> pixels;
};

// The result of the last successful loadTga; overwritten by every load.
extern TgaImage tgaImage;

enum class TgaStatus { Ok, Malformed, UnsupportedDepth };

// Largest side accepted; larger pictures are refused before anything is allocated.
constexpr std::uint32_t maxTgaSide = 8192;

// Decodes a whole TGA file held in memory. On failure `image` is left empty.
TgaStatus decodeTga(const std::uint8_t* bytes, std::size_t size, TgaImage& image);

// Decodes the archive entry `name` into tgaImage. An unsupported pixel depth is reported in a
// message box; every other failure is silent.
bool loadTga(const char* name);

class AssetBuffer;
// The same for an entry already open; the entry is released.
bool loadTgaEntry(AssetBuffer& entry);
