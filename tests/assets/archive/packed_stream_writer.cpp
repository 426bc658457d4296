#include "tests/assets/archive/packed_stream_writer.h"

#include <stdexcept>

namespace {

constexpr std::uint32_t lBase[28] = {0,  1,  2,  3,  4,  5,  6,  7,  8,  10,  12,  14,  16,  20,
                                     24, 28, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224};
constexpr int lBits[28] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2,
                           2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5};
constexpr int dBits[48] = {0,  0,  0,  0,  1,  1,  2,  2,  3,  3,  4,  4,  5,  5,  6,  6,
                           7,  7,  8,  8,  9,  9,  10, 10, 11, 11, 12, 12, 13, 13, 14, 14,
                           15, 15, 16, 16, 16, 16, 16, 16, 16, 16, 16, 16, 16, 16, 16, 16};
constexpr std::uint32_t sBase[8] = {0, 4, 8, 16, 32, 64, 128, 192};
constexpr int sBits[8] = {2, 2, 3, 4, 5, 6, 6, 6};

// Finds the slot whose range [base + offset, base + offset + 2^bits) holds value.
template <typename Base, typename Bits>
int slotOf(std::uint32_t value, std::uint32_t offset, const Base& base, const Bits& bits,
           int count) {
  for (int i = 0; i < count; ++i)
    if (value >= base(i) + offset && value < base(i) + offset + (1u << bits[i])) return i;
  throw std::invalid_argument("value outside every slot");
}

}  // namespace

PackedStreamWriter::PackedStreamWriter() = default;

void PackedStreamWriter::bits(std::uint32_t value, int count) {
  for (int i = count - 1; i >= 0; --i) {
    accumulator_ = (accumulator_ << 1) | ((value >> i) & 1);
    if (++pending_ == 8) {
      out_.push_back(static_cast<std::uint8_t>(accumulator_));
      accumulator_ = 0;
      pending_ = 0;
    }
  }
}

std::vector<PackedStreamWriter::Code> PackedStreamWriter::canonical(const std::uint8_t* lengths,
                                                                    int count) {
  int perLength[16] = {};
  for (int i = 0; i < count; ++i) ++perLength[lengths[i]];
  perLength[0] = 0;
  std::uint32_t next[16] = {};
  std::uint32_t code = 0;
  for (int length = 1; length < 16; ++length) {
    code = (code + perLength[length - 1]) << 1;
    next[length] = code;
  }
  std::vector<Code> codes(count);
  for (int i = 0; i < count; ++i)
    if (lengths[i] != 0) codes[i] = Code{next[lengths[i]]++, lengths[i]};
  return codes;
}

void PackedStreamWriter::emit(const std::vector<Code>& codes, int symbol) {
  if (codes.at(symbol).length == 0) throw std::invalid_argument("symbol has no code");
  bits(codes[symbol].code, codes[symbol].length);
}

void PackedStreamWriter::tables(bool audio, int channels, const std::vector<std::uint8_t>& lengths,
                                bool relative) {
  bits(audio ? 1 : 0, 1);
  bits(relative ? 1 : 0, 1);
  if (!relative)
    for (std::uint8_t& p : previous_) p = 0;
  if (audio) {
    bits(static_cast<std::uint32_t>(channels - 1), 2);
    channels_ = channels;
    if (channel_ >= channels_) channel_ = 0;
  }
  for (int i = 0; i < 19; ++i) bits(5, 4);
  for (std::size_t i = 0; i < lengths.size(); ++i) {
    bits((lengths[i] - previous_[i]) & 15, 5);  // 19 codes of 5 bits: code = symbol
    previous_[i] = lengths[i];
  }
  if (audio) {
    for (int c = 0; c < channels; ++c) md_[c] = canonical(previous_ + 257 * c, 257);
  } else {
    ld_ = canonical(previous_, 298);
    dd_ = canonical(previous_ + 298, 48);
    rd_ = canonical(previous_ + 346, 28);
  }
}

void PackedStreamWriter::lzTables(bool relative) {
  std::vector<std::uint8_t> lengths(374, 9);
  for (int i = 298; i < 346; ++i) lengths[i] = 6;
  for (int i = 346; i < 374; ++i) lengths[i] = 5;
  lzTables(lengths, relative);
}

void PackedStreamWriter::lzTables(const std::vector<std::uint8_t>& lengths, bool relative) {
  tables(false, 1, lengths, relative);
}

void PackedStreamWriter::audioTables(int channels, bool relative) {
  tables(true, channels, std::vector<std::uint8_t>(257 * channels, 9), relative);
}

void PackedStreamWriter::lzSymbol(int symbol) { emit(ld_, symbol); }

void PackedStreamWriter::remember(std::uint32_t length, std::uint32_t distance) {
  (void)length;
  oldDistances_[oldIndex_++ & 3] = distance;
}

void PackedStreamWriter::match(std::uint32_t length, std::uint32_t distance) {
  std::uint32_t base = length - (distance >= 0x2000) - (distance >= 0x40000);
  int l = slotOf(
      base, 3, [](int i) { return lBase[i]; }, lBits, 28);
  auto dBase = [](int i) {
    std::uint32_t b = 0;
    for (int k = 0; k < i; ++k) b += 1u << dBits[k];
    return b;
  };
  int d = slotOf(distance, 1, dBase, dBits, 48);
  emit(ld_, 270 + l);
  bits(base - lBase[l] - 3, lBits[l]);
  emit(dd_, d);
  bits(distance - dBase(d) - 1, dBits[d]);
  remember(length, distance);
}

void PackedStreamWriter::shortMatch(std::uint32_t distance) {
  int s = slotOf(
      distance, 1, [](int i) { return sBase[i]; }, sBits, 8);
  emit(ld_, 261 + s);
  bits(distance - sBase[s] - 1, sBits[s]);
  remember(2, distance);
}

void PackedStreamWriter::repeatLast() {
  emit(ld_, 256);
  // The decoder files the repeated distance into its history again.
  remember(0, oldDistances_[(oldIndex_ - 1) & 3]);
}

void PackedStreamWriter::oldDistance(int back, std::uint32_t length) {
  std::uint32_t distance = oldDistances_[(oldIndex_ - back) & 3];
  std::uint32_t base = length - (distance >= 0x101) - (distance >= 0x2000) - (distance >= 0x40000);
  int r = slotOf(
      base, 2, [](int i) { return lBase[i]; }, lBits, 28);
  emit(ld_, 256 + back);
  emit(rd_, r);
  bits(base - lBase[r] - 2, lBits[r]);
  remember(length, distance);
}

void PackedStreamWriter::audioSymbol(int symbol) {
  emit(md_[channel_], symbol);
  if (symbol != 256 && ++channel_ == channels_) channel_ = 0;
}

std::vector<std::uint8_t> PackedStreamWriter::finish() {
  if (pending_ > 0) bits(0, 8 - pending_);
  std::vector<std::uint8_t> packed;
  packed.swap(out_);
  return packed;
}
