#include "tools/archive/bit_writer.h"

void BitWriter::put(std::uint32_t value, int count) {
  while (count > 0) {
    const int used = int(bits_ & 7);
    if (used == 0) data_.push_back(0);
    const int room = 8 - used;
    const int take = count < room ? count : room;
    const std::uint32_t chunk = (value >> (count - take)) & ((1u << take) - 1);
    data_.back() |= std::uint8_t(chunk << (room - take));
    bits_ += std::uint64_t(take);
    count -= take;
  }
}

std::vector<std::uint8_t> BitWriter::bytes() const { return data_; }
