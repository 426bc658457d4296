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
  // equal results at both ends of a prefix's range hold for the whole range.
  constexpr std::uint32_t span = 1u << (16 - quickBits);
  int low = 1;
  for (std::uint32_t prefix = 0; prefix < quick_.size(); ++prefix) {
    std::uint32_t first = prefix * span;
    std::uint32_t last = first + span - 2;  // the lowest bit is always cleared
    low = lengthOf(first, low);
    std::uint32_t index = indexOf(first, low);
    if (low > quickBits || lengthOf(last, low) != low || indexOf(last, low) != index) {
      quick_[prefix] = 0;
      continue;
    }
    if (index >= static_cast<std::uint32_t>(alphabetSize_)) index = 0;
    quick_[prefix] = static_cast<std::uint16_t>((low << 12) | symbols_[index]);
  }
}

int HuffmanDecoder::lengthOf(std::uint32_t bits, int from) const {
  int length = from;
  while (length < 15 && bits >= limit_[length]) ++length;
  return length;
}

std::uint32_t HuffmanDecoder::indexOf(std::uint32_t bits, int length) const {
  return position_[length] + ((bits - limit_[length - 1]) >> (16 - length));
}

int HuffmanDecoder::decodeSlowly(BitInput& input, std::uint32_t bits) const {
  int length = lengthOf(bits, 1);
  input.skip(length);
  std::uint32_t index = indexOf(bits, length);
  if (index >= static_cast<std::uint32_t>(alphabetSize_)) index = 0;
  return symbols_[index];
}
