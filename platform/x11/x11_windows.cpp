#include "platform/x11/x11_windows.h"

#include <algorithm>

#include "platform/x11/x11_connection.h"

namespace {

std::vector<X11Window> windows;
bool cursorHidden = false;
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

void applyCursorTo(Display* display, Window window) {
  if (cursorHidden)
    XDefineCursor(display, window, blankCursor(display));
  else
    XUndefineCursor(display, window);
}

}  // namespace

X11Window* findX11Window(WindowHandle handle) {
  if (handle == 0) return nullptr;
  for (X11Window& w : windows)
    if (w.window == handle) return &w;
  return nullptr;
}

void addX11Window(const X11Window& window) {
  windows.push_back(window);
  if (Display* display = x11Display()) applyCursorTo(display, window.window);
}

bool removeX11Window(WindowHandle handle) {
  for (auto it = windows.begin(); it != windows.end(); ++it) {
    if (it->window != handle) continue;
    windows.erase(it);
    return true;
  }
  return false;
}

void followParentSize(Window parent, int width, int height) {
  Display* display = x11Display();
  if (display == nullptr || parent == 0) return;
  for (X11Window& w : windows) {
    if (w.parent != parent) continue;
    const int newWidth = std::max(1, width - w.x), newHeight = std::max(1, height - w.y);
    if (newWidth == w.width && newHeight == w.height) continue;
    w.width = newWidth;
    w.height = newHeight;
    XResizeWindow(display, w.window, static_cast<unsigned>(newWidth),
                  static_cast<unsigned>(newHeight));
    // The GL surface covers the window, also at its new size.
    if (w.surface != 0)
      XResizeWindow(display, w.surface, static_cast<unsigned>(newWidth),
                    static_cast<unsigned>(newHeight));
  }
  XFlush(display);
}

void setX11CursorHidden(bool hidden) {
  cursorHidden = hidden;
  Display* display = x11Display();
  if (display == nullptr) return;
  for (const X11Window& w : windows) applyCursorTo(display, w.window);
  XFlush(display);
}
