#include "assets/archive/huffman_decoder.h"

#include <algorithm>

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

  // The length found is monotonic in the bits, and each limit is a multiple of
  // 2^(15 - its length) (or the cap, above every value), so values of one length share their
  // index across aligned runs of 2^(16 - length). A prefix whose range lies below the limit
  // of its length (at most firstBits) therefore has one answer. Any other prefix gets a
  // second-level table just wide enough for its longest length (one bit at least: a range
  // across a limit of the short lengths splits at its middle), unless it also has one answer.
  constexpr std::uint32_t span = 1u << (16 - firstBits);
  second_.clear();
  int length = 1;
  for (std::uint32_t prefix = 0; prefix < first_.size(); ++prefix) {
    std::uint32_t firstValue = prefix * span;
    std::uint32_t lastValue = firstValue + span - 2;  // the lowest bit is always cleared
    while (length < 15 && firstValue >= limit_[length]) ++length;
    std::uint32_t entry = entryFor(firstValue, length);
    if (length <= firstBits && lastValue < limit_[length]) {
      // The same answer runs on to the next multiple of 2^(firstBits - length) prefixes,
      // or to the last prefix below the limit.
      std::uint32_t runEnd = (prefix | ((1u << (firstBits - length)) - 1)) + 1;
      runEnd = std::min(runEnd, (limit_[length] + 1) / span);
      std::fill(first_.begin() + prefix, first_.begin() + runEnd, entry);
      prefix = runEnd - 1;
      continue;
    }
    int lastLength = lengthOf(lastValue, length);
    if (lastLength == length && entryFor(lastValue, lastLength) == entry) {
      first_[prefix] = entry;  // damaged or empty lists can answer alike across a range
      continue;
    }
    int width = lastLength > firstBits ? lastLength - firstBits : 1;
    first_[prefix] = tableFlag | (static_cast<std::uint32_t>(width) << 24) |
                     static_cast<std::uint32_t>(second_.size());
    std::uint32_t step = span >> width;
    int valueLength = length;
    for (std::uint32_t value = firstValue; value <= lastValue; value += step) {
      valueLength = lengthOf(value, valueLength);
      second_.push_back(entryFor(value, valueLength));
    }
  }
}

int HuffmanDecoder::lengthOf(std::uint32_t bits, int from) const {
  int length = from;
  while (length < 15 && bits >= limit_[length]) ++length;
  return length;
}

std::uint32_t HuffmanDecoder::entryFor(std::uint32_t bits, int length) const {
  std::uint32_t index = position_[length] + ((bits - limit_[length - 1]) >> (16 - length));
  if (index >= static_cast<std::uint32_t>(alphabetSize_)) index = 0;
  return (static_cast<std::uint32_t>(length) << 16) | symbols_[index];
}
