// Line reading over arbitrary text, with small line buffers as well as the usual 128 bytes.

#include "assets/asset_buffer.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 1u << 20) return 0;
  AssetBuffer buffer;
  if (!buffer.openFromMemory(data, static_cast<std::uint32_t>(size))) return 0;
  std::size_t capacity =
      size > 0 ? 1 + data[0] % AssetBuffer::lineCapacity : AssetBuffer::lineCapacity;
  char line[AssetBuffer::lineCapacity];
  volatile std::size_t total = 0;
  // Each call consumes at least one byte, so this ends after size + 1 calls.
  for (std::size_t calls = 0; calls <= size + 1; ++calls) {
    bool more = buffer.readLine(line, capacity);
    std::size_t length = std::strlen(line);
    if (length >= capacity) __builtin_trap();
    total = total + length;
    if (!more) break;
  }
  if (!buffer.atEnd()) __builtin_trap();
  return 0;
}
