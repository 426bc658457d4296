#pragma once
// Little-endian output for the binary entry layouts.
#include <cstdint>
#include <cstring>
#include <vector>

class BinaryWriter {
 public:
  void u32(std::uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes_.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  }
  void f32(float v) {
    std::uint32_t bits;
    std::memcpy(&bits, &v, 4);
    u32(bits);
  }
  void floats(const std::vector<float>& v) {
    for (float f : v) f32(f);
  }
  void words(const std::vector<std::uint32_t>& v) {
    for (std::uint32_t w : v) u32(w);
  }
  std::vector<std::uint8_t>& bytes() { return bytes_; }

 private:
  std::vector<std::uint8_t> bytes_;
};
