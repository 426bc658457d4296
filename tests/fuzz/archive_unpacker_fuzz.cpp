// The unpacker alone, without the container's size bound and CRC check in front of it.
//
// An input that lists as an archive has each compressed entry's packed bytes run through one
// unpacker in archive order (so solid continuation is reached as well); any other input is a
// raw packed stream behind a 4-byte header: unpacked size (low 20 bits) and a solid flag.

#include "assets/archive/archive_reader.h"
#include "assets/archive/archive_source.h"
#include "assets/archive/archive_unpacker.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

constexpr std::uint32_t maxOutput = 4u << 20;

void unpackRun(ArchiveUnpacker& unpacker, const std::uint8_t* packed, std::size_t packedSize,
               std::uint32_t unpSize, bool continuation) {
  ArchiveSource source;
  source.openMemory(packed, packedSize);
  std::vector<std::uint8_t> output(std::min(unpSize, maxOutput));
  std::uint32_t produced = 0;
  unpacker.unpackEntry(source, static_cast<std::uint32_t>(packedSize),
                       static_cast<std::uint32_t>(output.size()), continuation,
                       output.empty() ? nullptr : output.data(), produced);
  if (produced > output.size()) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ArchiveUnpacker unpacker;
  if (!unpacker.allocate()) return 0;

  ArchiveList entries;
  if (listArchiveFromMemory(data, size, entries) > 0) {
    int runs = 0;
    for (const ArchiveEntryInfo& e : entries) {
      if (e.method == 0x30 || e.dataOffset >= size || runs++ == 4) continue;
      std::size_t start = static_cast<std::size_t>(e.dataOffset);
      std::size_t packedSize = std::min<std::size_t>(e.packSize, size - start);
      unpackRun(unpacker, data + start, packedSize, e.unpSize, (e.flags & 0x10) != 0);
    }
    return 0;
  }
  if (size < 4) return 0;
  std::uint32_t header = static_cast<std::uint32_t>(data[0]) | (data[1] << 8) | (data[2] << 16) |
                         (static_cast<std::uint32_t>(data[3]) << 24);
  std::uint32_t unpSize = header & 0xFFFFF;
  unpackRun(unpacker, data + 4, size - 4, unpSize, false);
  if (header & 0x80000000u)  // a second run continuing the first
    unpackRun(unpacker, data + 4, size - 4, unpSize, true);
  return 0;
}
