// The icon property as window managers read it: per size width, height, then 0xAARRGGBB.
// GoogleTest before Xlib, whose macros clash with its names.
#include <gtest/gtest.h>

#include "platform/x11/window_icon.h"

namespace {

TEST(WindowIcon, PropertyValues) {
  const unsigned char twoByOne[] = {0x10, 0x20, 0x30, 0xFF, 0x00, 0x80};
  const unsigned char one[] = {1, 2, 3};
  const WindowIcon icons[] = {
      {2, 1, twoByOne}, {1, 1, nullptr}, {0, 1, one}, {1, 1025, one}, {1, 1, one}};
  const std::vector<unsigned long> expected = {2, 1, 0xFF102030, 0xFFFF0080, 1, 1, 0xFF010203};
  EXPECT_EQ(netWmIconValues(icons, 5), expected);
  EXPECT_TRUE(netWmIconValues(nullptr, 3).empty());
}

}  // namespace
