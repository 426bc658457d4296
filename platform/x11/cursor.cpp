#include "platform/cursor.h"

#include "platform/x11/x11_connection.h"
#include "platform/x11/x11_windows.h"

namespace {

int showCount = 0;  // visible while >= 0

}  // namespace

void showCursor(bool show) {
  bool wasVisible = showCount >= 0;
  showCount += show ? 1 : -1;
  if (wasVisible != (showCount >= 0)) setX11CursorHidden(showCount < 0);
}

void setCursorPosition(int x, int y) {
  Display* display = x11Display();
  if (display == nullptr) return;
  XWarpPointer(display, None, DefaultRootWindow(display), 0, 0, 0, 0, x, y);
  XFlush(display);
}
