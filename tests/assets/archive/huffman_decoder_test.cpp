// The decoder's tables must give exactly what the plain limit search gives, for complete,
// incomplete, over-subscribed and empty length lists alike.

#include "assets/archive/huffman_decoder.h"
#include "assets/archive/bit_input.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

// The documented decoding steps, written out plainly: (symbol, bits used) for a 16-bit peek.
std::pair<int, int> referenceDecode(const std::vector<std::uint8_t>& lengths, std::uint32_t peek) {
  int count[16] = {};
  for (std::uint8_t l : lengths) ++count[l];
  count[0] = 0;
  std::uint32_t limit[16] = {}, pos[16] = {};
  std::uint32_t code = 0;
  for (int l = 1; l < 16; ++l) {
    code = 2 * (code + count[l]);
    limit[l] = std::min<std::uint32_t>(code << (15 - l), 0xFFFF);
    pos[l] = pos[l - 1] + count[l - 1];
  }
  std::vector<int> symbols(lengths.size(), 0);
  std::uint32_t next[16];
  std::copy(pos, pos + 16, next);
  for (std::size_t s = 0; s < lengths.size(); ++s)
    if (lengths[s]) symbols[next[lengths[s]]++] = static_cast<int>(s);
  std::uint32_t b = peek & 0xFFFE;
  int l = 1;
  while (l < 15 && b >= limit[l]) ++l;
  std::uint32_t index = pos[l] + ((b - limit[l - 1]) >> (16 - l));
  return {symbols[index < lengths.size() ? index : 0], l};
}

TEST(HuffmanDecoder, TablesAgreeWithTheLimitSearchForEveryPeek) {
  // Random lists (mostly over-subscribed), empty ones, and complete codes up to 15 bits.
  std::mt19937 random(11);
  for (int round = 0; round < 60; ++round) {
    int alphabet = std::vector<int>{19, 28, 48, 257, 298}[round % 5];
    int maxLength = 1 + static_cast<int>(random() % 15);
    std::vector<std::uint8_t> lengths(alphabet);
    for (std::uint8_t& l : lengths)
      l = random() % 3 == 0 ? 0 : static_cast<std::uint8_t>(1 + random() % maxLength);
    if (round % 7 == 0) std::fill(lengths.begin(), lengths.end(), 0);
    if (round % 3 == 1) {
      // A complete code: split random leaves of a one-leaf tree, then deal the depths out.
      std::vector<std::uint8_t> depths = {0};
      int leaves = 2 + static_cast<int>(random() % (alphabet - 1));
      while (static_cast<int>(depths.size()) < leaves) {
        std::size_t pick = random() % depths.size();
        if (depths[pick] == 15) continue;
        depths.push_back(++depths[pick]);
      }
      std::fill(lengths.begin(), lengths.end(), 0);
      for (std::uint8_t depth : depths) {
        std::size_t s = random() % lengths.size();
        while (lengths[s] != 0) s = (s + 1) % lengths.size();
        lengths[s] = depth;
      }
    }
    HuffmanDecoder decoder;
    decoder.build(lengths.data(), alphabet);
    std::uint8_t buffer[16] = {};
    for (std::uint32_t peek = 0; peek < 0x10000; ++peek) {
      buffer[0] = static_cast<std::uint8_t>(peek >> 8);
      buffer[1] = static_cast<std::uint8_t>(peek);
      std::uint32_t position = 0;
      auto [symbol, used] = referenceDecode(lengths, peek);
      ASSERT_EQ(decoder.decodeAt(buffer, position), symbol) << "round " << round << " " << peek;
      ASSERT_EQ(position, static_cast<std::uint32_t>(used));
    }
  }
}

}  // namespace
