#include "platform/console_display_state.h"

#include <cstdint>
#include <cstring>

namespace {

// GUID_CONSOLE_DISPLAY_STATE, {6FE69556-704A-47A0-8F24-C28D936FDA47}, as laid out in memory.
constexpr unsigned char consoleDisplayState[16] = {0x56, 0x95, 0xE6, 0x6F, 0x4A, 0x70, 0xA0, 0x47,
                                                   0x8F, 0x24, 0xC2, 0x8D, 0x93, 0x6F, 0xDA, 0x47};

std::uint32_t little32(const unsigned char* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

}  // namespace

bool readConsoleDisplayState(const void* setting, std::size_t size, bool& off) {
  const auto* bytes = static_cast<const unsigned char*>(setting);
  if (bytes == nullptr || size < 24) return false;
  if (std::memcmp(bytes, consoleDisplayState, sizeof consoleDisplayState) != 0) return false;
  const std::uint32_t length = little32(bytes + 16);
  if (length < 4 || length > size - 20) return false;
  const std::uint32_t state = little32(bytes + 20);
  if (state > 2) return false;
  off = state == 0;
  return true;
}
