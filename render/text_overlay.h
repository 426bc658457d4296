#pragma once
// The frame-rate and clock overlay: a 4 x 4 glyph atlas ("textures\c.jpg") cut into 13
// display lists, one per character "0".."9", ":" , ";" (AM) and "<" (PM). Only strings of
// these 13 characters can be shown; setNumber and formatClock never write anything else, and
// draw stops at the first character outside the set so it can never call a list that belongs
// to someone else. Without its atlas (a missing or damaged entry) the overlay draws nothing.
//
// Glyph cells are 60 x 60 overlay units and advance by 42, so a text of n glyphs is
// 42 (n - 1) + 60 units wide.
//
// The time of day comes from a replaceable source (the platform's local time by default), so
// a recording can show a simulated, reproducible clock.
#include <cstddef>
#include <cstdint>

#include "assets/texture.h"
#include "platform/local_time.h"

constexpr std::size_t overlayTextCapacity = 40;

// The clock as the overlay shows it: "hh:mm:ss", in the 12-hour form followed by ";" (AM) or
// "<" (PM), with hour 0 shown as 12. Out-of-range fields are clamped first (hour 0..23, minute
// 0..59, second 0..60), so the text stays within the glyph set whatever the source says.
void formatClockText(const LocalTime& time, bool twelveHour, char (&text)[overlayTextCapacity]);

// Width in overlay units of `text` as draw lays it out (0 for an empty text).
int overlayTextWidth(const char* text);

using LocalTimeSource = LocalTime (*)();
// Where formatClock reads the time; null restores the platform's localTime.
void setLocalTimeSource(LocalTimeSource source);

class TextOverlay {
 public:
  static constexpr int glyphCount = 13;
  static constexpr char firstGlyph = '0';

  virtual ~TextOverlay() = default;

  // Loads the atlas and compiles the 13 glyph lists; needs the rendering context.
  void init();
  // The frame rate, "%d" (a negative count shows 0).
  void setNumber(int n);
  // The time of day from the current source.
  void formatClock(bool twelveHour);
  // Draws `text` with its lower left corner at (x, y) in overlay coordinates. The caller has
  // opened the overlay bracket, bound `atlas` and set the colour and blending.
  void draw(float x, float y) const;

  Texture atlas;
  std::int32_t listBase = 0;
  char text[overlayTextCapacity] = {};
};
