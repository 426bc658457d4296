// The container walk, whole-entry reads and one-pass reads over arbitrary archive bytes.

#include "assets/archive/archive_reader.h"

#include <cstddef>
#include <cstdint>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ArchiveList entries;
  std::uint32_t count = listArchiveFromMemory(data, size, entries);
  volatile std::uint32_t sink = count;

  // Each read walks (and in a solid archive unpacks) from the start: a few entries suffice.
  for (std::uint32_t i = 0; i < count && i < 4; ++i) {
    std::unique_ptr<std::uint8_t[]> buffer;
    std::uint32_t produced = 0;
    if (readArchiveEntryAtFromMemory(i, data, size, buffer, produced) && produced > 0)
      sink = sink + buffer[produced - 1];
  }
  if (count > 0) {
    std::unique_ptr<std::uint8_t[]> buffer;
    std::uint32_t produced = 0;
    readArchiveEntryFromMemory(entries.back().name.c_str(), data, size, buffer, produced);
    sink = sink + produced;
  }
  // The one-pass read over every entry, and over every other one (the rest decoded without
  // output in a solid archive).
  for (std::uint32_t step : {1u, 2u}) {
    readArchiveEntriesFromMemory(
        data, size, [step](std::uint32_t i, const ArchiveEntryInfo&) { return i % step == 0; },
        [&sink](std::uint32_t, const ArchiveEntryInfo&, ArchiveStatus status,
                std::unique_ptr<std::uint8_t[]>& buffer, std::uint32_t produced) {
          if (status == ArchiveStatus::Ok && produced > 0) sink = sink + buffer[produced - 1];
          return true;
        });
  }
  (void)sink;
  return 0;
}
