#pragma once

#include <cstdint>
#include <vector>

// Writes packed streams symbol by symbol, for tests that need cases real archives lack
// (4-channel audio, entries over 1 MiB, far distances, damaged tables). Tables are sent
// plainly: every code-length symbol is a 5-bit pre-table code, no run codes.
class PackedStreamWriter {
 public:
  PackedStreamWriter();

  void bits(std::uint32_t value, int count);

  // A flat LZ table: literals/lengths 9 bits, distances 6, repeat lengths 5.
  void lzTables(bool relative = false);
  // LZ table from explicit lengths (374 positions).
  void lzTables(const std::vector<std::uint8_t>& lengths, bool relative = false);
  // A flat audio table, 9 bits per symbol, for 1..4 channels.
  void audioTables(int channels, bool relative = false);

  void literal(std::uint8_t byte) { lzSymbol(byte); }
  void lzSymbol(int symbol);                                 // raw LD symbol
  void match(std::uint32_t length, std::uint32_t distance);  // symbols 270..297
  void shortMatch(std::uint32_t distance);                   // 261..268, length 2
  void repeatLast();                                         // 256
  void oldDistance(int back, std::uint32_t length);          // 257..260
  void audioSymbol(int symbol);                              // MD of the current channel

  // Pads to a byte and hands over the bytes so far; the tables stay, so writing can go on
  // with the next entry of a solid archive.
  std::vector<std::uint8_t> finish();

 private:
  struct Code {
    std::uint32_t code = 0;
    int length = 0;
  };
  static std::vector<Code> canonical(const std::uint8_t* lengths, int count);
  void emit(const std::vector<Code>& codes, int symbol);
  void tables(bool audio, int channels, const std::vector<std::uint8_t>& lengths, bool relative);
  void remember(std::uint32_t length, std::uint32_t distance);

  std::vector<std::uint8_t> out_;
  std::uint32_t accumulator_ = 0;
  int pending_ = 0;

  std::uint8_t previous_[1028] = {};
  std::vector<Code> ld_, dd_, rd_, md_[4];
  int channels_ = 1;
  int channel_ = 0;
  std::uint32_t oldDistances_[4] = {};
  std::uint32_t oldIndex_ = 0;
};
