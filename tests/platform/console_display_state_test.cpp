// The console display state as a Windows power-setting notification carries it.
#include <gtest/gtest.h>

#include <vector>

#include "platform/console_display_state.h"

namespace {

// GUID_CONSOLE_DISPLAY_STATE as it lies in memory, then the length and the data.
std::vector<unsigned char> notification(std::uint32_t length, std::uint32_t state,
                                        unsigned char firstGuidByte = 0x56) {
  std::vector<unsigned char> b = {firstGuidByte, 0x95, 0xE6, 0x6F, 0x4A, 0x70, 0xA0, 0x47,
                                  0x8F,          0x24, 0xC2, 0x8D, 0x93, 0x6F, 0xDA, 0x47};
  for (std::uint32_t v : {length, state})
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<unsigned char>(v >> (8 * i)));
  return b;
}

TEST(ConsoleDisplayState, ReadsOffOnAndDimmedAndRefusesAnythingElse) {
  const struct {
    std::vector<unsigned char> bytes;
    std::size_t size;  // 0: all of them
    bool read, off;
  } cases[] = {
      {notification(4, 0), 0, true, true},
      {notification(4, 1), 0, true, false},
      {notification(4, 2), 0, true, false},  // dimmed: still seen
      {notification(4, 3), 0, false, false},
      {notification(4, 0, 0x57), 0, false, false},  // another setting
      {notification(8, 0), 0, false, false},        // data longer than the block
      {notification(2, 0), 0, false, false},
      {notification(4, 0), 23, false, false},  // cut short
  };
  for (const auto& c : cases) {
    bool off = false;
    EXPECT_EQ(readConsoleDisplayState(c.bytes.data(), c.size != 0 ? c.size : c.bytes.size(), off),
              c.read);
    if (c.read) EXPECT_EQ(off, c.off);
  }
  bool off = false;
  EXPECT_FALSE(readConsoleDisplayState(nullptr, 24, off));
}

}  // namespace
