#pragma once
// JPEG decoding from memory through libjpeg, rows stored bottom-up as the texture upload wants.
#include <cstddef>
#include <cstdint>
#include <vector>

struct DecodedImage {
  std::int32_t components = 0;  // bytes per pixel: 3 colour, 1 grey, 4 CMYK or YCCK
  std::int32_t rowStride = 0;   // width x components
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::vector<std::uint8_t> pixels;  // rowStride x height bytes, first row = bottom of the picture
};

// Pictures larger than this are refused before anything is allocated for their pixels.
constexpr std::uint32_t maxJpegSide = 8192;
constexpr std::uint64_t maxJpegPixels = 4096ull * 4096ull;

// Decodes a whole JPEG file held in memory. Every fatal error of the library abandons the
// decode and yields false; a truncated file decodes as far as its data goes. The components
// per pixel are those the library delivers.
bool decodeJpeg(const std::uint8_t* bytes, std::size_t size, DecodedImage& image);

// Decodes the archive entry `name`. A failure is reported in a message box naming the entry.
bool loadJpeg(const char* name, DecodedImage& image);

class AssetBuffer;
// The same for an entry already open (`name` is only for the message); the entry is released.
bool loadJpegEntry(AssetBuffer& entry, const char* name, DecodedImage& image);
