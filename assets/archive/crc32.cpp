#include "assets/archive/crc32.h"

#include <zlib.h>

std::uint32_t crc32(std::uint32_t crc, const std::uint8_t* bytes, std::size_t count) {
  if (count == 0) return crc;  // zlib answers 0 for a null pointer
  // zlib's value is pre- and post-inverted; this function is the plain update.
  return ~static_cast<std::uint32_t>(crc32_z(~crc & 0xFFFFFFFFu, bytes, count));
}
