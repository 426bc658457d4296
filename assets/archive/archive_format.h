#pragma once
// The fixed numbers of the archive format, shared by the reader and the packer so the two
// can never disagree: markers, block types, header flags, and the code tables that turn
// length and distance symbols into values.
#include <cstddef>
#include <cstdint>

// Container.
inline constexpr std::uint8_t rarMarker[7] = {0x52, 0x61, 0x72, 0x21, 0x1A, 0x07, 0x00};
inline constexpr std::uint8_t altMarker[7] = {'K', 'o', 'r', 'v', 'e', 'l', '!'};
inline constexpr std::uint8_t mainBlock = 0x73;
inline constexpr std::uint8_t fileBlock = 0x74;
inline constexpr std::uint8_t subBlock = 0x77;
inline constexpr std::uint16_t longBlockFlag = 0x8000;
inline constexpr std::uint16_t solidArchiveFlag = 0x0008;
inline constexpr std::uint16_t solidEntryFlag = 0x0010;
inline constexpr std::uint8_t storedMethod = 0x30;
inline constexpr std::size_t fileHeaderSize = 32;

// Bit stream: base value and extra bits of each length, distance and short-distance slot.
inline constexpr std::uint8_t lengthBase[28] = {0,  1,  2,  3,   4,   5,   6,   7,  8,  10,
                                                12, 14, 16, 20,  24,  28,  32,  40, 48, 56,
                                                64, 80, 96, 112, 128, 160, 192, 224};
inline constexpr std::uint8_t lengthBits[28] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2,
                                                2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5};
inline constexpr std::uint32_t distanceBase[48] = {
    0,      1,      2,      3,      4,      6,      8,      12,     16,     24,     32,     48,
    64,     96,     128,    192,    256,    384,    512,    768,    1024,   1536,   2048,   3072,
    4096,   6144,   8192,   12288,  16384,  24576,  32768,  49152,  65536,  98304,  131072, 196608,
    262144, 327680, 393216, 458752, 524288, 589824, 655360, 720896, 786432, 851968, 917504, 983040};
inline constexpr std::uint8_t distanceBits[48] = {
    0,  0,  0,  0,  1,  1,  2,  2,  3,  3,  4,  4,  5,  5,  6,  6,  7,  7,  8,  8,  9,  9,  10, 10,
    11, 11, 12, 12, 13, 13, 14, 14, 15, 15, 16, 16, 16, 16, 16, 16, 16, 16, 16, 16, 16, 16, 16, 16};
inline constexpr std::uint8_t shortBase[8] = {0, 4, 8, 16, 32, 64, 128, 192};
inline constexpr std::uint8_t shortBits[8] = {2, 2, 3, 4, 5, 6, 6, 6};
