#pragma once

#include "assets/archive/bit_input.h"

#include <array>
#include <cstdint>
#include <vector>

// A canonical Huffman decoder built from a list of code lengths (0 = absent, 1..15).
// Decoding is defined by the per-length limits: the length is the first whose limit exceeds
// the next 16 bits (lowest bit cleared), and the symbol is indexed from there. Over-subscribed
// or empty length lists still give a usable decoder: an index past the placed symbols yields
// symbol 0 (or a zero slot), never a read outside the tables.
//
// Two tables answer every lookup without a search: the first is indexed by the next
// `firstBits` bits and holds the answer wherever every value with that prefix decodes the same
// way; other prefixes point to a second-level table indexed by the remaining bits. Both are
// filled from the limit rule itself, so they give exactly what the search gives for every
// 16-bit value, whatever the lengths.
class HuffmanDecoder {
 public:
  static constexpr int maxSymbols = 298;

  // Starts as the decoder of an empty length list.
  HuffmanDecoder() { build(nullptr, 0); }
  virtual ~HuffmanDecoder() = default;

  void build(const std::uint8_t* lengths, int count);

  int decode(BitInput& input) const { return decodeAt(input.buffer(), input.position); }

  // Decodes at a bit offset into a buffer (see BitInput::peekAt) and advances the offset.
  int decodeAt(const std::uint8_t* buffer, std::uint32_t& position) const {
    std::uint32_t bits = BitInput::peekAt(buffer, position);
    std::uint32_t entry = first_[bits >> (16 - firstBits)];
    if (entry & tableFlag) {
      std::uint32_t width = entry >> 24 & 7;
      std::uint32_t rest = (bits >> (16 - firstBits - width)) & ((1u << width) - 1);
      entry = second_[(entry & 0xFFFFFF) + rest];
    }
    position += entry >> 16;
    return static_cast<int>(entry & 0xFFFF);
  }

  // 9 bits measured best on the benchmark's archives: 7 to 10 per cent faster than 10 bits
  // on real LZ entries and many small ones (tables are rebuilt every few kilobytes there),
  // equal within noise elsewhere; 11 bits was no better than 10.
  static constexpr int firstBits = 9;

 private:
  // Entries are (length << 16) | symbol. A first-level entry with tableFlag set instead gives
  // a second-level table: its width in bits (1 to 15 - firstBits) at bit 24 and its start in
  // the low bits.
  static constexpr std::uint32_t tableFlag = 0x80000000u;

  int lengthOf(std::uint32_t bits, int from) const;
  std::uint32_t entryFor(std::uint32_t bits, int length) const;

  int alphabetSize_ = 0;
  std::array<std::uint32_t, 16> limit_{};
  std::array<std::uint32_t, 16> position_{};
  std::array<std::uint16_t, maxSymbols> symbols_{};
  std::array<std::uint32_t, 1 << firstBits> first_{};
  std::vector<std::uint32_t> second_;
};
