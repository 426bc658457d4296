#include "platform/message_box.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstring>

namespace {

bool windowsAllowed = false;

constexpr int boxWidth = 360;
constexpr int boxHeight = 110;
constexpr int buttonWidth = 70;
constexpr int buttonHeight = 24;
constexpr int buttonX = (boxWidth - buttonWidth) / 2;
constexpr int buttonY = boxHeight - buttonHeight - 12;

void drawBox(Display* display, Window window, GC gc, const char* text) {
  XClearWindow(display, window);
  XDrawString(display, window, gc, 16, 36, text, static_cast<int>(std::strlen(text)));
  XDrawRectangle(display, window, gc, buttonX, buttonY, buttonWidth, buttonHeight);
  XDrawString(display, window, gc, buttonX + buttonWidth / 2 - 6, buttonY + 16, "OK", 2);
  XFlush(display);
}

// Blocks until OK is clicked, Return, Escape or space is pressed, or the box is closed.
void runBox(Display* display, const char* text, const char* caption) {
  const int screen = DefaultScreen(display);
  const int x = (DisplayWidth(display, screen) - boxWidth) / 2;
  const int y = (DisplayHeight(display, screen) - boxHeight) / 2;
  const Window window = XCreateSimpleWindow(display, RootWindow(display, screen), x, y, boxWidth, boxHeight,
                                            1, BlackPixel(display, screen), WhitePixel(display, screen));
  XStoreName(display, window, caption);
  Atom deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
  XSetWMProtocols(display, window, &deleteWindow, 1);
  // Keep the box above a full-screen window.
  const Atom state = XInternAtom(display, "_NET_WM_STATE", False);
  const Atom above = XInternAtom(display, "_NET_WM_STATE_ABOVE", False);
  XChangeProperty(display, window, state, XA_ATOM, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(&above), 1);
  XSelectInput(display, window, ExposureMask | KeyPressMask | ButtonPressMask);
  XMapRaised(display, window);
  GC gc = XCreateGC(display, window, 0, nullptr);
  XSetForeground(display, gc, BlackPixel(display, screen));

  for (bool open = true; open;) {
    XEvent event;
    XNextEvent(display, &event);
    switch (event.type) {
      case Expose:
        if (event.xexpose.count == 0) drawBox(display, window, gc, text);
        break;
      case KeyPress: {
        const KeySym key = XLookupKeysym(&event.xkey, 0);
        open = !(key == XK_Return || key == XK_Escape || key == XK_space || key == XK_KP_Enter);
        break;
      }
      case ButtonPress:
        open = !(event.xbutton.x >= buttonX && event.xbutton.x < buttonX + buttonWidth &&
                 event.xbutton.y >= buttonY && event.xbutton.y < buttonY + buttonHeight);
        break;
      case ClientMessage:
        open = static_cast<Atom>(event.xclient.data.l[0]) != deleteWindow;
        break;
      default:
        break;
    }
  }
  XFreeGC(display, gc);
  XDestroyWindow(display, window);
  XFlush(display);
}

}  // namespace

void allowMessageBoxWindows(bool allowed) { windowsAllowed = allowed; }

void showMessageBox(const char* text, const char* caption) {
  if (!text) text = "";
  if (!caption) caption = "";
  std::fprintf(stderr, "%s: %s\n", caption, text);
  std::fflush(stderr);
  if (!windowsAllowed) return;
  Display* display = XOpenDisplay(nullptr);
  if (!display) return;
  runBox(display, text, caption);
  XCloseDisplay(display);
}
