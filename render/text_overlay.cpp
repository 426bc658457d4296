#include "render/text_overlay.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

LocalTimeSource timeSource = nullptr;

// Appends one field of two or more digits and its separator.
char* appendField(char* out, const char* end, int value, const char* separator) {
  int written = std::snprintf(out, static_cast<std::size_t>(end - out),
                              value < 10 ? "0%d%s" : "%d%s", value, separator);
  return written > 0 ? out + std::min<std::ptrdiff_t>(written, end - out - 1) : out;
}

}  // namespace

void setLocalTimeSource(LocalTimeSource source) { timeSource = source; }

void formatClockText(const LocalTime& time, bool twelveHour, char (&text)[overlayTextCapacity]) {
  int hour = std::clamp(time.hour, 0, 23);
  int minute = std::clamp(time.minute, 0, 59);
  int second = std::clamp(time.second, 0, 60);
  bool pm = hour == 12;
  if (twelveHour) {
    if (hour == 0) {
      hour = 12;
    } else if (hour > 12) {
      hour -= 12;
      pm = true;
    }
  }
  char* out = text;
  const char* end = text + overlayTextCapacity;
  out = appendField(out, end, hour, ":");
  out = appendField(out, end, minute, ":");
  out = appendField(out, end, second, "");
  if (twelveHour) {
    *out++ = pm ? '<' : ';';
    *out = '\0';
  }
}

int overlayTextWidth(const char* text) {
  std::size_t n = std::strlen(text);
  return n == 0 ? 0 : 42 * static_cast<int>(n - 1) + 60;
}

void TextOverlay::init() {
  atlas.load("textures\\c.jpg");
  listBase = static_cast<std::int32_t>(glGenLists(glyphCount));
  atlas.bind();
  if (listBase == 0) return;
  for (int i = 0; i < glyphCount; ++i) {
    const float s0 = 0.25f * static_cast<float>(i % 4);
    const float tTop = 1.0f - 0.25f * static_cast<float>(i / 4);
    const float tBottom = tTop - 0.25f;
    glNewList(static_cast<GLuint>(listBase + i), GL_COMPILE);
    glBegin(GL_QUADS);
    glTexCoord2f(s0, tBottom);
    glVertex2i(0, 0);
    glTexCoord2f(s0 + 0.25f, tBottom);
    glVertex2i(60, 0);
    glTexCoord2f(s0 + 0.25f, tTop);
    glVertex2i(60, 60);
    glTexCoord2f(s0, tTop);
    glVertex2i(0, 60);
    glEnd();
    glTranslatef(42.0f, 0.0f, 0.0f);  // the advance: glyph cells overlap by 18 units
    glEndList();
  }
}

void TextOverlay::setNumber(int n) { std::snprintf(text, sizeof text, "%d", std::max(n, 0)); }

void TextOverlay::formatClock(bool twelveHour) {
  formatClockText(timeSource != nullptr ? timeSource() : localTime(), twelveHour, text);
}

void TextOverlay::draw(float x, float y) const {
  // Without the atlas every glyph would be a plain white block.
  if (listBase == 0 || atlas.name == 0) return;
  GLsizei count = 0;
  while (count < static_cast<GLsizei>(overlayTextCapacity) && text[count] >= firstGlyph &&
         text[count] < firstGlyph + glyphCount)
    ++count;
  glPushMatrix();
  glTranslatef(x, y, 0.0f);
  glListBase(static_cast<GLuint>(listBase - firstGlyph));
  glCallLists(count, GL_UNSIGNED_BYTE, text);
  glPopMatrix();
}
