#pragma once
// The fixed code tables of the RAR 2.0 bit stream as the packer sees them: which symbol and
// extra bits express a given length or distance, and what the decoder adds back.
#include <cstdint>

#include "assets/archive/archive_format.h"

constexpr int kMainSymbols = 298;   // literal/length alphabet (LD)
constexpr int kDistSymbols = 48;    // distance alphabet (DD)
constexpr int kRepSymbols = 28;     // length alphabet after an old distance (RD)
constexpr int kPreSymbols = 19;     // code-length alphabet (BD)
constexpr int kAudioSymbols = 257;  // per-channel prediction errors plus the table change
constexpr int kLzTableSize = kMainSymbols + kDistSymbols + kRepSymbols;  // 374
constexpr int kMaxTableSize = kAudioSymbols * 4;                         // 1028
constexpr int kMaxCodeLength = 15;

constexpr int kSymRepeatLast = 256;
constexpr int kSymOldDist = 257;  // 257..260: the four old distances, newest first
constexpr int kSymShort = 261;    // 261..268: length-2 matches up to distance 256
constexpr int kSymNewTable = 269;
constexpr int kSymLong = 270;  // 270..297
constexpr int kAudioNewTable = 256;

constexpr std::uint32_t kWindowSize = 1u << 20;
constexpr std::uint32_t kWindowMask = kWindowSize - 1;

// Index into lengthBase/lengthBits for a length value 0..255 (the part above the base offset).
int lengthSlot(std::uint32_t value);
// Index into distanceBase/distanceBits for distance − 1 (0..0xFFFFF).
int distanceSlot(std::uint32_t value);
// Index into shortBase/shortBits for distance − 1 (0..255).
int shortSlot(std::uint32_t value);

// Length the decoder adds to a new long match at this distance.
inline std::uint32_t longMatchBonus(std::uint32_t distance) {
  return (distance >= 0x2000 ? 1u : 0u) + (distance >= 0x40000 ? 1u : 0u);
}
// Length the decoder adds to a match at one of the old distances.
inline std::uint32_t oldMatchBonus(std::uint32_t distance) {
  return (distance >= 0x101 ? 1u : 0u) + longMatchBonus(distance);
}
