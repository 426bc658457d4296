// Any bytes as the record of a run's display changes: parsing never fails unsafely, and what
// it accepts writes back to the same record.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/x11/desktop_record.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  DesktopRecord record;
  std::string_view text(reinterpret_cast<const char*>(data), size);
  if (!parseDesktopRecord(text, record)) {
    if (!record.empty()) std::abort();
    return 0;
  }
  DesktopRecord again;
  if (!parseDesktopRecord(formatDesktopRecord(record), again)) std::abort();
  if (formatDesktopRecord(again) != formatDesktopRecord(record)) std::abort();
  return 0;
}
