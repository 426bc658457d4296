#pragma once

#include <cstdint>
#include <cstring>

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "peeks swap little-endian words");

class ArchiveSource;

// The unpacker's view of an entry's packed bytes: an 8 KiB buffer refilled in place, read
// 16 bits at a time, most significant bit first. A peek is one unaligned 64-bit load from the
// buffer, whose slack behind the end makes the load safe at any read point.
//
// Reads of the source are limited to the entry's packed budget. Once the budget is spent the
// buffer keeps its old contents; overrun() tells when the read point has passed the last real
// byte, so that a decoder fed with damaged data stops instead of spinning on stale bytes.
class BitInput {
 public:
  static constexpr int bufferSize = 8192;

  virtual ~BitInput() = default;

  // Starts an entry: read point at 0, buffer filled from the source.
  void start(ArchiveSource& source, std::uint32_t packedBudget);
  // Keeps the last 32 bytes and fetches more behind them (only called past offset 8160).
  void refill();

  // The next 16 bits at a bit offset into a buffer with at least 8 readable bytes there.
  static std::uint32_t peekAt(const std::uint8_t* buffer, std::uint32_t position) {
    std::uint64_t word;
    std::memcpy(&word, buffer + (position >> 3), sizeof word);
    return static_cast<std::uint32_t>((__builtin_bswap64(word) << (position & 7)) >> 48);
  }

  std::uint32_t peek() const { return peekAt(buffer_, position); }
  void skip(int bits) { position += static_cast<std::uint32_t>(bits); }
  // Adds n (0..16) extra bits taken from the input to a base value.
  std::uint32_t extraBits(int n) {
    if (n == 0) return 0;
    std::uint32_t value = peek() >> (16 - n);
    skip(n);
    return value;
  }

  int address() const { return static_cast<int>(position >> 3); }  // byte of the read point
  bool overrun() const { return static_cast<std::int64_t>(position) > validBits_; }
  const std::uint8_t* buffer() const { return buffer_; }
  std::int64_t validBits() const { return validBits_; }

  std::uint32_t position = 0;  // bit offset of the read point in the buffer
  int readTop = 0;             // valid bytes in the buffer, as the end-of-entry check counts them

 private:
  std::uint32_t fetch(int offset, int count);

  // The read point never passes offset 8192 + 2; the slack covers the 8-byte load there.
  std::uint8_t buffer_[bufferSize + 32] = {};
  ArchiveSource* source_ = nullptr;
  std::uint32_t budget_ = 0;
  std::uint64_t consumedBase_ = 0;  // stream offset of buffer_[0]
  std::uint64_t delivered_ = 0;     // packed bytes read so far
  std::int64_t validBits_ = 0;      // bits of real data from buffer_[0] on (may be negative)
};
