#include "platform/cursor.h"

#include "platform/x11/x11_connection.h"
#include "platform/x11/x11_windows.h"

namespace {

int showCount = 0;  // visible while >= 0
Cursor blank = 0;

Cursor blankCursor(Display* display) {
  if (blank == 0) {
    static const char bits[1] = {0};
    Pixmap pixmap = XCreateBitmapFromData(display, DefaultRootWindow(display), bits, 1, 1);
    XColor black{};
    blank = XCreatePixmapCursor(display, pixmap, pixmap, &black, &black, 0, 0);
    XFreePixmap(display, pixmap);
  }
  return blank;
}

}  // namespace

void applyCursorTo(Window window) {
  Display* display = x11Display();
  if (display == nullptr) return;
  // X hides the cursor per window: over ours it is blank, and it comes back by itself when
  // they are gone, however the process ends.
  if (showCount < 0)
    XDefineCursor(display, window, blankCursor(display));
  else
    XUndefineCursor(display, window);
}

void showCursor(bool show) {
  bool wasVisible = showCount >= 0;
  showCount += show ? 1 : -1;
  if (wasVisible == (showCount >= 0)) return;
  for (const X11Window& w : x11Windows()) applyCursorTo(w.window);
  if (Display* display = x11Display()) XFlush(display);
}

void setCursorPosition(int x, int y) {
  Display* display = x11Display();
  if (display == nullptr) return;
  XWarpPointer(display, None, DefaultRootWindow(display), 0, 0, 0, 0, x, y);
  XFlush(display);
}
