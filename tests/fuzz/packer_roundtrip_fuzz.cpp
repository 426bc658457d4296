// Packs arbitrary bytes as up to three entries (LZ or audio, solid or not) and reads every
// entry back through the reader: any difference, or a packed entry the reader rejects, is a
// packer fault.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "assets/archive/archive_reader.h"
#include "tools/archive/archive_writer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3 || size > 200000) return 0;
  const std::uint8_t mode = data[0];
  std::size_t cut1 = size > 3 ? 3 + data[1] * (size - 3) / 255 : 3;
  std::size_t cut2 = cut1 + data[2] * (size - cut1) / 255;
  std::vector<PackEntry> entries = {
      {"first", {data + 3, data + cut1}, (mode & 2) ? 1 + ((mode >> 2) & 3) : 0},
      {"dir\\second", {data + cut1, data + cut2}, 0},
      {"third", {data + cut2, data + size}, (mode & 16) ? 1 + ((mode >> 5) & 3) : 0}};
  PackOptions options;
  options.solid = mode & 1;
  options.storeOnly = (mode & 0x80) && (mode & 0x40);
  options.chainDepth = 16;
  std::vector<std::uint8_t> archive;
  std::string error;
  if (!writeArchive(entries, options, archive, error)) std::abort();
  for (std::uint32_t i = 0; i < entries.size(); ++i) {
    std::unique_ptr<std::uint8_t[]> buffer;
    std::uint32_t got = 0;
    if (!readArchiveEntryAtFromMemory(i, archive.data(), archive.size(), buffer, got)) std::abort();
    if (got != entries[i].data.size()) std::abort();
    if (got && std::memcmp(buffer.get(), entries[i].data.data(), got) != 0) std::abort();
  }
  return 0;
}
