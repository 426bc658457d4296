// Any bytes given to the TGA decoder fail cleanly or yield exactly width x height pixels.
#include <cstdint>
#include <cstdlib>

#include "assets/tga_image.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TgaImage image;
  const TgaStatus status = decodeTga(data, size, image);
  if (status == TgaStatus::Ok) {
    const std::size_t expected = std::size_t(image.width) * image.height * (image.pixelDepth / 8);
    if (image.pixels.size() != expected || !image.palette.empty()) std::abort();
    volatile std::uint8_t sink = image.pixels.back();
    (void)sink;
  } else if (!image.pixels.empty()) {
    std::abort();
  }
  return 0;
}
