// Any bytes given to the JPEG decoder fail cleanly or yield rowStride x height pixels.
#include <cstdint>
#include <cstdlib>

#include "assets/jpeg_image.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  DecodedImage image;
  if (decodeJpeg(data, size, image)) {
    if (image.width <= 0 || image.height <= 0 ||
        image.rowStride != image.width * image.components ||
        image.pixels.size() != std::size_t(image.rowStride) * std::size_t(image.height)) {
      std::abort();
    }
    volatile std::uint8_t sink = image.pixels.back();
    (void)sink;
  }
  return 0;
}
