#include "platform/x11/message_box_window.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <poll.h>

#include <cstring>

#include "platform/message_box.h"
#include "platform/x11/x11_connection.h"

namespace {

constexpr int boxWidth = 360;
constexpr int boxHeight = 110;
constexpr int buttonWidth = 70;
constexpr int buttonHeight = 24;
constexpr int buttonX = (boxWidth - buttonWidth) / 2;
constexpr int buttonY = boxHeight - buttonHeight - 12;

void drawBox(Display* display, Window window, GC gc, const char* text, const char* caption) {
  XClearWindow(display, window);
  // No window manager frames this box, so the caption is drawn as its first line.
  XDrawString(display, window, gc, 16, 22, caption, static_cast<int>(std::strlen(caption)));
  XDrawLine(display, window, gc, 16, 28, boxWidth - 16, 28);
  XDrawString(display, window, gc, 16, 50, text, static_cast<int>(std::strlen(text)));
  XDrawRectangle(display, window, gc, buttonX, buttonY, buttonWidth, buttonHeight);
  XDrawString(display, window, gc, buttonX + buttonWidth / 2 - 6, buttonY + 16, "OK", 2);
  XFlush(display);
}

// Blocks until OK is clicked, Return, Escape or space is pressed, the box is closed, or the
// run is asked to end by a signal.
void runBox(Display* display, const char* text, const char* caption) {
  const int screen = DefaultScreen(display);
  const int x = (DisplayWidth(display, screen) - boxWidth) / 2;
  const int y = (DisplayHeight(display, screen) - boxHeight) / 2;
  // Override-redirect, like the saver's own full-screen windows: a managed window would open
  // beneath them, unseen, and the modal wait would never end.
  XSetWindowAttributes attributes{};
  attributes.override_redirect = True;
  attributes.background_pixel = WhitePixel(display, screen);
  attributes.border_pixel = BlackPixel(display, screen);
  const Window window = XCreateWindow(
      display, RootWindow(display, screen), x, y, boxWidth, boxHeight, 1, CopyFromParent,
      InputOutput, CopyFromParent, CWOverrideRedirect | CWBackPixel | CWBorderPixel, &attributes);
  XStoreName(display, window, caption);
  Atom deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
  XSetWMProtocols(display, window, &deleteWindow, 1);
  XSelectInput(display, window, ExposureMask | KeyPressMask | ButtonPressMask);
  XMapRaised(display, window);
  // Keys reach the box when nobody else holds the keyboard; a click on OK always works.
  XGrabKeyboard(display, window, True, GrabModeAsync, GrabModeAsync, CurrentTime);
  GC gc = XCreateGC(display, window, 0, nullptr);
  XSetForeground(display, gc, BlackPixel(display, screen));

  for (bool open = true; open;) {
    // A termination signal ends the box: a daemon stopping the saver must not wait for a
    // click. The wait wakes for the signal (no SA_RESTART) or at the latest after a while.
    if (x11TerminationRequested()) break;
    if (XPending(display) == 0) {
      pollfd connection{ConnectionNumber(display), POLLIN, 0};
      poll(&connection, 1, 250);
      continue;
    }
    XEvent event;
    XNextEvent(display, &event);
    switch (event.type) {
      case Expose:
        if (event.xexpose.count == 0) drawBox(display, window, gc, text, caption);
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
  XUngrabKeyboard(display, CurrentTime);
  XFreeGC(display, gc);
  XDestroyWindow(display, window);
  XFlush(display);
}

}  // namespace

void showMessageWindow(const char* text, const char* caption) {
  if (!text) text = "";
  if (!caption) caption = "";
  printMessage(text, caption);
  // Once the run has been asked to end, the message is on stderr only.
  if (x11TerminationRequested()) return;
  Display* display = XOpenDisplay(nullptr);
  if (!display) return;
  // The run's keyboard grab would keep the keys from the box.
  x11SuspendKeyboardGrab();
  runBox(display, text, caption);
  XCloseDisplay(display);
  x11ResumeKeyboardGrab();
}
