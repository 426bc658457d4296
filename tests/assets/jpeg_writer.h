#pragma once
// Encodes small JPEG files in memory for the decoder and texture tests.
#include <cstdint>
#include <string>
#include <vector>

struct JpegMarker {
  int code;  // JPEG_COM, JPEG_APP0 + n
  std::string payload;
};

// `pixels` holds width x height x components bytes, top row first; components 1 (grey),
// 3 (RGB) or 4 (CMYK). Quality 100 without chroma subsampling keeps colours close.
std::vector<std::uint8_t> encodeJpeg(const std::vector<std::uint8_t>& pixels, int width, int height,
                                     int components, const std::vector<JpegMarker>& markers = {},
                                     bool progressive = false, int restartRows = 0);
