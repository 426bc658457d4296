#pragma once
// Appends bit fields most significant bit first, the order in which the unpacker peeks them.
#include <cstdint>
#include <vector>

class BitWriter {
 public:
  virtual ~BitWriter() = default;

  // Writes the low `count` bits of `value` (count 0..32).
  void put(std::uint32_t value, int count);
  // Number of bits written so far.
  std::uint64_t bitCount() const { return bits_; }
  // The bytes written, the last one padded with zero bits.
  std::vector<std::uint8_t> bytes() const;

 private:
  std::vector<std::uint8_t> data_;
  std::uint64_t bits_ = 0;
};
