#include "assets/archive/huffman_decoder.h"

void HuffmanDecoder::build(const std::uint8_t* lengths, int count) {
  if (count > maxSymbols) count = maxSymbols;
  alphabetSize_ = count;
  std::array<std::uint32_t, 16> lengthCount{};
  for (int i = 0; i < count; ++i) ++lengthCount[lengths[i] & 15];
  lengthCount[0] = 0;

  std::uint32_t code = 0;
  limit_[0] = 0;
  position_[0] = 0;
  for (int length = 1; length < 16; ++length) {
    code = 2 * (code + lengthCount[length]);
    std::uint32_t limit = code << (15 - length);
    limit_[length] = limit > 0xFFFF ? 0xFFFF : limit;
    position_[length] = position_[length - 1] + lengthCount[length - 1];
  }

  symbols_.fill(0);
  std::array<std::uint32_t, 16> next = position_;
  for (int symbol = 0; symbol < count; ++symbol) {
    int length = lengths[symbol] & 15;
    if (length != 0) symbols_[next[length]++] = static_cast<std::uint16_t>(symbol);
  }

  // The length found is monotonic in the bits, and so is the index within one length, so
  // equal results at both ends of a prefix's range hold for the whole range. Second-level
  // tables are laid out one after the other from table 1 on, so that a table number is never
  // 0 and never looks like a first-level answer.
  constexpr std::uint32_t span = 1u << (16 - firstBits);
  second_.assign(1u << secondBits, 0);
  int low = 1;
  for (std::uint32_t prefix = 0; prefix < first_.size(); ++prefix) {
    std::uint32_t firstValue = prefix * span;
    std::uint32_t lastValue = firstValue + span - 2;  // the lowest bit is always cleared
    low = lengthOf(firstValue, low);
    int high = lengthOf(lastValue, low);
    std::uint16_t entry = entryFor(firstValue, low);
    if (high == low && entryFor(lastValue, low) == entry) {
      first_[prefix] = entry;
      continue;
    }
    first_[prefix] = static_cast<std::uint16_t>(second_.size() >> secondBits);
    int length = low;
    for (std::uint32_t rest = 0; rest < (1u << secondBits); ++rest) {
      std::uint32_t value = firstValue + (rest << 1);
      length = lengthOf(value, length);
      second_.push_back(entryFor(value, length));
    }
  }
}

int HuffmanDecoder::lengthOf(std::uint32_t bits, int from) const {
  int length = from;
  while (length < 15 && bits >= limit_[length]) ++length;
  return length;
}

std::uint16_t HuffmanDecoder::entryFor(std::uint32_t bits, int length) const {
  std::uint32_t index = position_[length] + ((bits - limit_[length - 1]) >> (16 - length));
  if (index >= static_cast<std::uint32_t>(alphabetSize_)) index = 0;
  return static_cast<std::uint16_t>((length << 12) | symbols_[index]);
}
