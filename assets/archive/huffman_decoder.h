#pragma once

#include "assets/archive/bit_input.h"

#include <array>
#include <cstdint>

// A canonical Huffman decoder built from a list of code lengths (0 = absent, 1..15).
// Decoding compares the next 16 bits against the per-length limits and indexes the symbol list
// directly. Over-subscribed or empty length lists still give a usable decoder: an index past
// the placed symbols yields symbol 0 (or a zero slot), never a read outside the tables.
//
// A table indexed by the next 10 bits answers most lookups at once; it holds an entry only
// where every 16-bit value with that prefix decodes to the same length and symbol, so it
// gives exactly what the limit search gives.
class HuffmanDecoder {
 public:
  static constexpr int maxSymbols = 298;

  virtual ~HuffmanDecoder() = default;

  void build(const std::uint8_t* lengths, int count);

  int decode(BitInput& input) const {
    std::uint32_t bits = input.peek() & 0xFFFE;
    std::uint16_t quick = quick_[bits >> (16 - quickBits)];
    if (quick != 0) {
      input.skip(quick >> 12);
      return quick & 0xFFF;
    }
    return decodeSlowly(input, bits);
  }

 private:
  static constexpr int quickBits = 10;

  int lengthOf(std::uint32_t bits, int from) const;
  std::uint32_t indexOf(std::uint32_t bits, int length) const;
  int decodeSlowly(BitInput& input, std::uint32_t bits) const;

  int alphabetSize_ = 0;
  std::array<std::uint32_t, 16> limit_{};
  std::array<std::uint32_t, 16> position_{};
  std::array<std::uint16_t, maxSymbols> symbols_{};
  std::array<std::uint16_t, 1 << quickBits> quick_{};  // (length << 12) | symbol, 0 = none
};
