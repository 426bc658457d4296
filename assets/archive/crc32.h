#pragma once

#include <cstddef>
#include <cstdint>

// Reflected CRC-32 (polynomial 0xEDB88320). This is the raw table update: an entry's checksum
// is crc32(0xFFFFFFFF, bytes, count) with all bits inverted afterwards. zlib computes it (its
// sliced tables run about eight times faster than a byte-wise table on the checked entries).
std::uint32_t crc32(std::uint32_t crc, const std::uint8_t* bytes, std::size_t count);
