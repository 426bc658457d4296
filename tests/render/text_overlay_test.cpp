// The clock and frame-rate texts of the overlay, without a clock or a GL context.
#include <gtest/gtest.h>

#include <string>

#include "render/text_overlay.h"

namespace {

std::string clockText(int hour, int minute, int second, bool twelveHour) {
  char text[overlayTextCapacity];
  formatClockText({hour, minute, second}, twelveHour, text);
  return text;
}

// The last two rows: a source out of range is clamped rather than shown with glyphs that do
// not exist.
TEST(ClockText, WorkedTimesInBothFormats) {
  struct Case {
    int hour, minute, second;
    bool twelveHour;
    const char* text;  // ";" is the AM glyph, "<" the PM glyph
    int width;
  } cases[] = {
      {9, 5, 3, false, "09:05:03", 354},    {0, 15, 0, true, "12:15:00;", 396},
      {12, 0, 0, true, "12:00:00<", 396},   {13, 7, 9, true, "01:07:09<", 396},
      {11, 59, 59, true, "11:59:59;", 396}, {23, 59, 60, false, "23:59:60", 354},
      {-3, 75, -1, false, "00:59:00", 354}, {99, 0, 99, true, "11:00:60<", 396},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    std::string text = clockText(c.hour, c.minute, c.second, c.twelveHour);
    EXPECT_EQ(text, c.text);
    EXPECT_EQ(overlayTextWidth(text.c_str()), c.width);
  }
}

LocalTime halfPastTen() { return {22, 30, 5}; }

TEST(TextOverlay, NumbersAndTheReplaceableClock) {
  TextOverlay overlay;
  overlay.setNumber(0);
  EXPECT_STREQ(overlay.text, "0");
  overlay.setNumber(-5);
  EXPECT_STREQ(overlay.text, "0");

  setLocalTimeSource(halfPastTen);
  overlay.formatClock(true);
  EXPECT_STREQ(overlay.text, "10:30:05<");
  setLocalTimeSource(nullptr);
}

}  // namespace
