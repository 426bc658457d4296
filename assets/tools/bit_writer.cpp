#include "assets/tools/bit_writer.h"

void BitWriter::put(std::uint32_t value, int count) {
  for (int i = count - 1; i >= 0; --i) {
    if ((bits_ & 7) == 0) data_.push_back(0);
    if ((value >> i) & 1) data_.back() |= std::uint8_t(0x80 >> (bits_ & 7));
    ++bits_;
  }
}

std::vector<std::uint8_t> BitWriter::bytes() const { return data_; }

void BitWriter::append(const BitWriter& other) {
  if ((bits_ & 7) == 0) {
    data_.insert(data_.end(), other.data_.begin(), other.data_.end());
    bits_ += other.bits_;
    return;
  }
  std::uint64_t whole = other.bits_ / 8;
  for (std::uint64_t i = 0; i < whole; ++i) put(other.data_[i], 8);
  int rest = int(other.bits_ & 7);
  if (rest) put(std::uint32_t(other.data_[whole]) >> (8 - rest), rest);
}
